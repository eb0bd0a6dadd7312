#include "scenes/SceneLayout.h"

namespace SceneLayout {
namespace {

bool isRelayModule(int type) { return type == 0 || type == 3; }
bool isDimModule(int type) { return type == 1; }
bool isVelanoModule(int type) { return type == 2; }
bool isSceneModule(int type) { return isRelayModule(type) || isDimModule(type) || isVelanoModule(type); }

// Field -> channel (1-based, 0 = hidden field) of the dim and Velano modules. The relay modules
// show output i+1 in field i.
constexpr int DimFieldChannel[FieldCount] = {0, 1, 0, 2, 0, 0, 0, 3, 0, 4, 0, 0};
constexpr int VelanoFieldChannel[FieldCount] = {1, 2, 0, 5, 6, 0, 3, 4, 0, 7, 8, 0};

// The code the "***" (unchanged) entry stores: 10 for the relay outputs of the relay modules,
// 11 for every other channel.
int unchangedCode(int type, ChannelKind kind)
{
    return kind == ChannelKind::Relay && isRelayModule(type) ? 10 : 11;
}

// The list position (and code) of "Toggle".
int togglePosition(ChannelKind kind) { return kind == ChannelKind::Relay ? 2 : 10; }

} // namespace

int channelCount(int type)
{
    if (isRelayModule(type))
        return 12;
    if (isDimModule(type))
        return 4;
    if (isVelanoModule(type))
        return 8;
    return 0;
}

int slotsPerScene(int type)
{
    return isSceneModule(type) ? channelCount(type) + 1 : 0;
}

int firstSceneSlot(int type)
{
    if (isRelayModule(type))
        return 80;
    if (isDimModule(type) || isVelanoModule(type))
        return 50;
    return -1;
}

int channelSlot(int type, int scene, int channel)
{
    if (!isSceneModule(type) || scene < 0 || scene >= SceneCount || channel < 1 || channel > channelCount(type))
        return -1;
    return firstSceneSlot(type) + slotsPerScene(type) * scene + (channel - 1);
}

int groupFlagSlot(int type, int scene)
{
    if (!isSceneModule(type) || scene < 0 || scene >= SceneCount)
        return -1;
    return firstSceneSlot(type) + slotsPerScene(type) * scene + channelCount(type);
}

std::optional<FieldUse> fieldUse(int type, int field)
{
    if (field < 0 || field >= FieldCount)
        return std::nullopt;
    if (isRelayModule(type))
        return FieldUse{field + 1, ChannelKind::Relay};
    if (isDimModule(type)) {
        if (const int channel = DimFieldChannel[field])
            return FieldUse{channel, ChannelKind::Dim};
        return std::nullopt;
    }
    if (isVelanoModule(type)) {
        if (const int channel = VelanoFieldChannel[field])
            return FieldUse{channel, channel <= 4 ? ChannelKind::Dim : ChannelKind::Relay};
        return std::nullopt;
    }
    return std::nullopt;
}

int fieldSlot(int type, int scene, int field)
{
    const auto use = fieldUse(type, field);
    return use ? channelSlot(type, scene, use->channel) : -1;
}

QList<int> showOrder(int type)
{
    if (isRelayModule(type))
        return {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    if (isDimModule(type))
        return {1, 3, 7, 9};
    if (isVelanoModule(type))
        return {0, 1, 6, 7, 3, 4, 9, 10};
    return {};
}

int listSize(ChannelKind kind)
{
    return kind == ChannelKind::Relay ? 4 : 12;
}

int codeAt(int type, ChannelKind kind, int position)
{
    if (!isSceneModule(type) || position < 0 || position >= listSize(kind))
        return -1;
    if (position == listSize(kind) - 1)
        return unchangedCode(type, kind);
    return position;
}

int positionOf(int type, ChannelKind kind, int code)
{
    if (!isSceneModule(type))
        return -1;
    for (int position = 0; position < listSize(kind); ++position)
        if (codeAt(type, kind, position) == code)
            return position;
    return -1;
}

std::optional<Text> valueText(ChannelKind kind, int position)
{
    if (position < 0 || position >= listSize(kind))
        return std::nullopt;
    if (position == 0)
        return Text{QStringLiteral("Uit"), QStringLiteral("OFF")};
    if (position == listSize(kind) - 1)
        return Text{QStringLiteral("***"), QStringLiteral("***")};
    if (position == togglePosition(kind))
        return Text{QStringLiteral("Toggle"), QStringLiteral("Toggle")};
    if (kind == ChannelKind::Relay)
        return Text{QStringLiteral("Aan"), QStringLiteral("ON")};
    const QString percent = QString::number(position * 10) + QLatin1Char('%');
    return Text{percent, percent};
}

std::optional<Text> fieldLabel(int type, int field)
{
    const auto use = fieldUse(type, field);
    if (!use)
        return std::nullopt;
    const QString number = QString::number(use->channel) + QLatin1Char(':');
    if (isVelanoModule(type)) {
        const QString caption = (use->kind == ChannelKind::Dim ? QStringLiteral("Dim ") : QStringLiteral("Relais ")) + number;
        return Text{caption, caption};
    }
    return Text{QStringLiteral("Uitgang ") + number, QStringLiteral("Sortie ") + number};
}

std::optional<Text> sceneName(int scene)
{
    if (scene < 0 || scene >= SceneCount)
        return std::nullopt;
    const QString number = QString::number(scene + 1);
    return Text{QStringLiteral("Sfeer ") + number, QStringLiteral("Contexte ") + number};
}

Text scenePrompt()
{
    return Text{QStringLiteral("Sfeer?"), QStringLiteral("Contexte?")};
}

} // namespace SceneLayout
