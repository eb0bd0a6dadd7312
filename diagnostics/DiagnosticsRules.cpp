#include "diagnostics/DiagnosticsRules.h"

#include "common/Lang.h"

#include "protocol/Wire.h"

std::array<int, Diagnostics::OutputButtonCount> Diagnostics::outputLayout(int moduleType)
{
    switch (moduleType) {
    case 0: // relay modules: all twelve outputs
    case 3:
        return {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    case 1: // dim module: four channels, in the middle of the first row
        return {0, 1, 2, 3, 4, 0, 0, 0, 0, 0, 0, 0};
    case 2: // Velano module: four channels in the middle of each row
        return {0, 1, 2, 3, 4, 0, 0, 5, 6, 7, 8, 0};
    default:
        return {};
    }
}

QString Diagnostics::historyHeading(int language, const QString &designText)
{
    return Lang::text(language, QStringLiteral("Historiek"), QStringLiteral("Historique"), designText);
}

QString Diagnostics::timeOfDay(const QTime &time)
{
    return time.toString(QStringLiteral("HH:mm:ss"));
}

QString Diagnostics::pushButtonEntry(int language, const QString &time, int number)
{
    const QString n = QString::number(number);
    if (language == 2)
        return QStringLiteral("Temps: ") + time + QStringLiteral("  Bouton: ") + n;
    return QStringLiteral("Tijd: ") + time + QStringLiteral("  Knop: ") + n;
}

std::optional<int> Diagnostics::takePushButtonReport(const QString &line, const QString &time, QString &lastPressTime)
{
    const std::optional<int> index = Wire::parsePushButtonIndex(line);
    if (!index || time == lastPressTime)
        return std::nullopt;
    lastPressTime = time;
    return *index + 1;
}
