#include "scenes/SceneLayout.h"

#include "protocol/ModuleTypes.h"

namespace SceneLayout {
namespace {

const ModuleTypeInfo *sceneModule(int type)
{
    return ModuleTypes::info(type);
}

// The code the "***" (unchanged) entry stores: 10 for the relay outputs of the relay modules,
// 11 for every other channel.
int unchangedCode(int type, ChannelKind kind)
{
    return kind == ChannelKind::Relay && ModuleTypes::isRelay(type) ? 10 : 11;
}

// The list position (and code) of "Toggle".
int togglePosition(ChannelKind kind)
{
    return kind == ChannelKind::Relay ? 2 : 10;
}

} // namespace

int channelCount(int type)
{
    const ModuleTypeInfo *info = sceneModule(type);
    return info ? info->outputs : 0;
}

int slotsPerScene(int type)
{
    return sceneModule(type) ? channelCount(type) + 1 : 0;
}

int firstSceneSlot(int type)
{
    const ModuleTypeInfo *info = sceneModule(type);
    return info ? info->firstSceneSlot : -1;
}

int channelSlot(int type, int scene, int channel)
{
    if (!sceneModule(type) || scene < 0 || scene >= SceneCount || channel < 1 || channel > channelCount(type))
        return -1;
    return firstSceneSlot(type) + slotsPerScene(type) * scene + (channel - 1);
}

int groupFlagSlot(int type, int scene)
{
    if (!sceneModule(type) || scene < 0 || scene >= SceneCount) return -1;
    return firstSceneSlot(type) + slotsPerScene(type) * scene + channelCount(type);
}

std::optional<FieldUse> fieldUse(int type, int field)
{
    const ModuleTypeInfo *info = sceneModule(type);
    if (!info || field < 0 || field >= FieldCount) return std::nullopt;
    const int channel = info->sceneFields[static_cast<size_t>(field)];
    if (channel == 0) return std::nullopt;
    // The dim channels come first; the outputs after them switch relays.
    return FieldUse{channel, channel <= info->dimChannels ? ChannelKind::Dim : ChannelKind::Relay};
}

int fieldSlot(int type, int scene, int field)
{
    const auto use = fieldUse(type, field);
    return use ? channelSlot(type, scene, use->channel) : -1;
}

QList<int> showOrder(int type)
{
    const ModuleTypeInfo *info = sceneModule(type);
    if (!info) return {};
    return QList<int>(info->sceneFieldOrder.begin(), info->sceneFieldOrder.begin() + info->sceneFieldCount);
}

int listSize(ChannelKind kind)
{
    return kind == ChannelKind::Relay ? 4 : 12;
}

int codeAt(int type, ChannelKind kind, int position)
{
    if (!sceneModule(type) || position < 0 || position >= listSize(kind)) return -1;
    if (position == listSize(kind) - 1) return unchangedCode(type, kind);
    return position;
}

int positionOf(int type, ChannelKind kind, int code)
{
    if (!sceneModule(type)) return -1;
    for (int position = 0; position < listSize(kind); ++position)
        if (codeAt(type, kind, position) == code) return position;
    return -1;
}

std::optional<Lang::Text> valueText(ChannelKind kind, int position)
{
    if (position < 0 || position >= listSize(kind)) return std::nullopt;
    if (position == 0) return Lang::Text{QStringLiteral("Uit"), QStringLiteral("OFF")};
    if (position == listSize(kind) - 1) return Lang::Text{QStringLiteral("***"), QStringLiteral("***")};
    if (position == togglePosition(kind))
        return Lang::Text{QStringLiteral("Toggle"), QStringLiteral("Toggle")};
    if (kind == ChannelKind::Relay) return Lang::Text{QStringLiteral("Aan"), QStringLiteral("ON")};
    const QString percent = QString::number(position * 10) + QLatin1Char('%');
    return Lang::Text{percent, percent};
}

std::optional<Lang::Text> codeText(int type, ChannelKind kind, int code)
{
    return valueText(kind, positionOf(type, kind, code));
}

bool isUnchanged(int type, ChannelKind kind, int code)
{
    return sceneModule(type) && code == unchangedCode(type, kind);
}

Lang::Text scenePrompt()
{
    return Lang::Text{QStringLiteral("Sfeer?"), QStringLiteral("Contexte?")};
}

} // namespace SceneLayout
