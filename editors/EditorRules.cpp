#include "editors/EditorRules.h"

#include "common/Lang.h"
#include "protocol/ModuleTypes.h"

namespace EditorRules {

namespace {
bool inRange(int n, int first, int last)
{
    return n >= first && n <= last;
}
} // namespace

QStringList numberEntries(int first, int last)
{
    QStringList entries;
    for (int n = first; n <= last; ++n)
        entries << QString::number(n);
    return entries;
}

std::optional<int> entryNumber(const QString &text, int first, int last)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || !inRange(n, first, last) || QString::number(n) != text) return std::nullopt;
    return n;
}

// ---- Push buttons -------------------------------------------------------------------------

int firstFunctionSlot(int button)
{
    return button - 1;
}
int secondFunctionSlot(int button)
{
    return button + PushButtonCount - 1;
}

std::optional<int> outputCount(int moduleType)
{
    if (const ModuleTypeInfo *info = ModuleTypes::info(moduleType)) return info->outputs;
    return std::nullopt;
}

std::optional<int> pushButtonFunctionValue(FunctionKind kind, int number, int outputCount)
{
    switch (kind) {
    case FunctionKind::Output:
        if (!inRange(number, 1, outputCount)) return std::nullopt;
        return number - 1;
    case FunctionKind::Scene:
        if (!inRange(number, 1, SceneCount)) return std::nullopt;
        return number + FirstSceneValue - 1;
    case FunctionKind::None:
        return NoFunction;
    }
    return std::nullopt;
}

std::vector<int> baseFunctions(int moduleType)
{
    const std::optional<int> outputs = outputCount(moduleType);
    if (!outputs) return {};
    std::vector<int> values(PushButtonSlots, NoFunction);
    for (int o = 0; o < *outputs; ++o)
        values[static_cast<size_t>(o)] = o;
    if (ModuleTypes::hasDimChannels(moduleType))
        for (int o = 0; o < 4; ++o)
            values[static_cast<size_t>(PushButtonCount + o)] = o;
    return values;
}

// ---- Second-function time -----------------------------------------------------------------

QStringList secondTimeEntries()
{
    QStringList entries;
    for (int halfSeconds = 1; halfSeconds <= 8; ++halfSeconds)
        entries << halfSecondsText(halfSeconds);
    return entries;
}

QString halfSecondsText(int halfSeconds)
{
    const QString sign = halfSeconds < 0 ? QStringLiteral("-") : QString();
    const int magnitude = halfSeconds < 0 ? -halfSeconds : halfSeconds;
    QString text = sign + QString::number(magnitude / 2);
    if (magnitude % 2 != 0) text += QStringLiteral(",5");
    return text;
}

std::optional<int> secondTimeValue(const QString &text)
{
    const qsizetype i = secondTimeEntries().indexOf(text);
    if (i < 0) return std::nullopt;
    return static_cast<int>(i) + 1;
}

// ---- Output functions of the relay modules ------------------------------------------------

int outputFunctionSlot(int output)
{
    return 41 + output;
}
int outputTimeSlot(int output)
{
    return 53 + output;
}
int linkedOutputSlot(int output)
{
    return 65 + output;
}

TimeUnit timeUnit(int code)
{
    switch (code) {
    case 1:
    case 2:
    case 4:
    case 5:
        return TimeUnit::Minutes;
    case 3:
        return TimeUnit::Seconds;
    default:
        return TimeUnit::None;
    }
}

QString timeUnitLabel(TimeUnit unit)
{
    switch (unit) {
    case TimeUnit::Minutes:
        return QStringLiteral("Min.");
    case TimeUnit::Seconds:
        return QStringLiteral("Sec.");
    case TimeUnit::None:
        break;
    }
    return {};
}

bool usesLinkedOutput(int code)
{
    return code == 4 || code == 5;
}

QStringList outputFunctionEntries(Lang::Language language)
{
    return {
        Lang::text(language, QStringLiteral("AAN/UIT"), QStringLiteral("ON/OFF")),
        Lang::text(language, QStringLiteral("AAN/UIT + tijdsfunctie"),
                   QStringLiteral("ON/OFF + fonction temps")),
        Lang::text(language, QStringLiteral("AAN + tijdsfunctie"), QStringLiteral("ON + fonction temps")),
        Lang::text(language, QStringLiteral("Puls"), QStringLiteral("Impulsion")),
        Lang::text(language, QStringLiteral("Actief bij doven van"),
                   QStringLiteral("Actif si extinction de la sortie")),
        Lang::text(language, QStringLiteral("Vergrendeling met uitgang"),
                   QStringLiteral("Protection de la sortie")),
    };
}

std::vector<SlotValue> outputFunctionWrites(int output, int code, int time, int linked)
{
    if (!inRange(output, 1, RelayOutputCount) || !inRange(code, 0, OutputFunctionCount - 1)) return {};
    const bool timed = code >= 1;
    if (timed && !inRange(time, 1, MaxOutputTime)) return {};
    if (usesLinkedOutput(code) && (!inRange(linked, 1, RelayOutputCount) || linked == output)) return {};
    std::vector<SlotValue> writes{{outputFunctionSlot(output), code}};
    if (timed) writes.push_back({outputTimeSlot(output), time});
    if (usesLinkedOutput(code)) writes.push_back({linkedOutputSlot(output), linked});
    return writes;
}

// ---- Dim start values ---------------------------------------------------------------------

int dimStartSlot(int channel)
{
    return 41 + channel;
}

QStringList dimStartEntries()
{
    QStringList entries;
    for (int value = 1; value <= MaxDimStart; ++value)
        entries << dimStartText(value);
    return entries;
}

QString dimStartText(int value)
{
    return QString::number(value * 10) + QStringLiteral("%");
}

} // namespace EditorRules
