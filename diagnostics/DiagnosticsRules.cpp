#include "diagnostics/DiagnosticsRules.h"

#include "common/Lang.h"

#include "protocol/ModuleTypes.h"
#include "protocol/Wire.h"

std::array<int, Diagnostics::OutputButtonCount> Diagnostics::outputLayout(int moduleType)
{
    if (const ModuleTypeInfo *info = ModuleTypes::info(moduleType)) return info->outputButtons;
    return {};
}

QString Diagnostics::historyHeading(int language, const QString &designText)
{
    return Lang::text(language, QStringLiteral("Historiek"), QStringLiteral("Historique"), designText);
}

QString Diagnostics::timeOfDay(const QTime &time)
{
    return time.toString(QStringLiteral("HH:mm:ss"));
}

QString Diagnostics::pushButtonEntry(int language, const QString &time, int number, const QString &name)
{
    const QString n = name.isEmpty() ? QString::number(number) : QString::number(number) + u" – " + name;
    if (language == 2) return QStringLiteral("Temps: ") + time + QStringLiteral("  Bouton: ") + n;
    return QStringLiteral("Tijd: ") + time + QStringLiteral("  Knop: ") + n;
}

std::optional<int> Diagnostics::takePushButtonReport(const QString &line, const QString &time,
                                                     QString &lastPressTime)
{
    const std::optional<int> index = Wire::parsePushButtonIndex(line);
    if (!index || time == lastPressTime) return std::nullopt;
    lastPressTime = time;
    return *index + 1;
}
