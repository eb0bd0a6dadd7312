#include "protocol/ModuleTypes.h"

namespace {
using ModuleTypes::Image;
Lang::Text RelayLabel()
{
    return {QStringLiteral("Relaismodule"), QStringLiteral("Module relais")};
}
Lang::Text RelayCaption()
{
    return {QStringLiteral("Relaismodule:"), QStringLiteral("Module relais:")};
}
constexpr std::array<int, 12> AllTwelve{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
constexpr std::array<int, 12> InOrder{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};

// The two relay types share everything but their list entry and picture.
ModuleTypeInfo relayType(int type, const char *comboEntry, const char *picture)
{
    return {.type = type,
            .comboEntry = comboEntry,
            .picture = picture,
            .image = Image::Relay,
            .slotCount = ModuleTypes::RelaySlots,
            .lastSlot = 339,
            .versionSlot = 79,
            .progressMaximum = 341,
            .outputs = 12,
            .dimChannels = 0,
            .firstSceneSlot = 80,
            .typeLabel = RelayLabel(),
            .pageCaption = RelayCaption(),
            .pageCaptionOfFile = RelayCaption(),
            .moreInfoButton = true,
            .outputButtons = AllTwelve,
            .sceneFields = AllTwelve,
            .sceneFieldOrder = InOrder,
            .sceneFieldCount = 12};
}

// Made at the first question, after every text the rows hold.
const ModuleTypeInfo *table()
{
    static const ModuleTypeInfo types[] = {
        relayType(0, "ZK3412_ZK2412", "relais.bmp"),
        // Dim module: its four channels in the middle of the first row of the output test, and in
        // the second and fourth field of each scene column.
        {.type = 1,
         .comboEntry = "ZK24XX_ZK3447",
         .picture = "dimmer.bmp",
         .image = Image::Dim,
         .slotCount = ModuleTypes::DimSlots,
         .lastSlot = 149,
         .versionSlot = 47,
         .progressMaximum = 151,
         .outputs = 4,
         .dimChannels = 4,
         .firstSceneSlot = 50,
         .typeLabel = {QStringLiteral("Dimmodule"), QStringLiteral("Module dim")},
         .pageCaption = {QStringLiteral("Dimmodule:"), QStringLiteral("Module dim:")},
         .pageCaptionOfFile = {QStringLiteral("Dimmodule:"), QStringLiteral("Module dimmer:")},
         .moreInfoButton = false,
         .outputButtons = {0, 1, 2, 3, 4, 0, 0, 0, 0, 0, 0, 0},
         .sceneFields = {0, 1, 0, 2, 0, 0, 0, 3, 0, 4, 0, 0},
         .sceneFieldOrder = {1, 3, 7, 9},
         .sceneFieldCount = 4},
        // Velano module: dim channels 1..4 and relay channels 5..8, four in the middle of each row.
        {.type = 2,
         .comboEntry = "ZK2019",
         .picture = "velano.bmp",
         .image = Image::Velano,
         .slotCount = ModuleTypes::VelanoSlots,
         .lastSlot = 229,
         .versionSlot = 47,
         .progressMaximum = 231,
         .outputs = 8,
         .dimChannels = 4,
         .firstSceneSlot = 50,
         .typeLabel = {QStringLiteral("Velano module"), QStringLiteral("Module Velano")},
         .pageCaption = {QStringLiteral("Velano module:"), QStringLiteral("Module Velano:")},
         .pageCaptionOfFile = {QStringLiteral("Velano module:"), QStringLiteral("Module Velano:")},
         .moreInfoButton = true,
         .outputButtons = {0, 1, 2, 3, 4, 0, 0, 5, 6, 7, 8, 0},
         .sceneFields = {1, 2, 0, 5, 6, 0, 3, 4, 0, 7, 8, 0},
         .sceneFieldOrder = {0, 1, 6, 7, 3, 4, 9, 10},
         .sceneFieldCount = 8},
        relayType(3, "ZK2018", "modulair.bmp"),
    };
    return types;
}
} // namespace

const ModuleTypeInfo *ModuleTypes::info(int type)
{
    return isKnown(type) ? &table()[type] : nullptr;
}

bool ModuleTypes::isKnown(int type)
{
    return type >= 0 && type <= 3;
}

bool ModuleTypes::isRelay(int type)
{
    const ModuleTypeInfo *i = info(type);
    return i && i->image == Image::Relay;
}

bool ModuleTypes::hasDimChannels(int type)
{
    const ModuleTypeInfo *i = info(type);
    return i && i->dimChannels > 0;
}

QStringList ModuleTypes::comboEntries()
{
    // List order differs from type order: the two relay entries are not adjacent.
    QStringList entries;
    for (int type : {0, 1, 3, 2})
        entries << QString::fromLatin1(table()[type].comboEntry);
    return entries;
}

int ModuleTypes::typeForComboEntry(const QString &entry)
{
    for (int type = 0; type < 4; ++type)
        if (entry == QLatin1String(table()[type].comboEntry)) return type;
    return -1;
}
