#include "protocol/ModuleTypes.h"

#include "common/Lang.h"

namespace {
using ModuleTypes::Image;
constexpr ModuleTypes::Text RelayLabel{"Relaismodule", "Module relais"};
constexpr ModuleTypes::Text RelayCaption{"Relaismodule:", "Module relais:"};
constexpr ModuleTypes::Text OutputFunctions{"Functie van de uitgangen", "Fonctions des sorties"};
constexpr ModuleTypes::Text OutputFunctionsOfFile{"Functie van de uitgangen", "Fonction des sorties"};
constexpr ModuleTypes::Text DimStartValues{"Beginwaarde dim-kanalen", "Valeur début des sorties"};
constexpr std::array<int, 12> AllTwelve{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
constexpr std::array<int, 12> InOrder{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};

// The two relay types share everything but their list entry and picture.
constexpr ModuleTypeInfo relayType(int type, const char *comboEntry, const char *picture)
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
            .typeLabel = RelayLabel,
            .pageCaption = RelayCaption,
            .pageCaptionOfFile = RelayCaption,
            .outputEditor = OutputFunctions,
            .outputEditorOfFile = OutputFunctionsOfFile,
            .moreInfoButton = true,
            .outputButtons = AllTwelve,
            .sceneFields = AllTwelve,
            .sceneFieldOrder = InOrder,
            .sceneFieldCount = 12};
}

constexpr ModuleTypeInfo kTypes[] = {
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
     .typeLabel = {"Dimmodule", "Module dim"},
     .pageCaption = {"Dimmodule:", "Module dim:"},
     .pageCaptionOfFile = {"Dimmodule:", "Module dimmer:"},
     .outputEditor = DimStartValues,
     .outputEditorOfFile = DimStartValues,
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
     .typeLabel = {"Velano module", "Module Velano"},
     .pageCaption = {"Velano module:", "Module Velano:"},
     .pageCaptionOfFile = {"Velano module:", "Module Velano:"},
     .outputEditor = DimStartValues,
     .outputEditorOfFile = DimStartValues,
     .moreInfoButton = true,
     .outputButtons = {0, 1, 2, 3, 4, 0, 0, 5, 6, 7, 8, 0},
     .sceneFields = {1, 2, 0, 5, 6, 0, 3, 4, 0, 7, 8, 0},
     .sceneFieldOrder = {0, 1, 6, 7, 3, 4, 9, 10},
     .sceneFieldCount = 8},
    relayType(3, "ZK2018", "modulair.bmp"),
};
} // namespace

std::optional<QString> ModuleTypes::Text::in(int language) const
{
    return Lang::pick(language, QString::fromUtf8(dutch), QString::fromUtf8(french));
}

const ModuleTypeInfo *ModuleTypes::info(int type)
{
    return isKnown(type) ? &kTypes[type] : nullptr;
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
        entries << QString::fromLatin1(kTypes[type].comboEntry);
    return entries;
}

int ModuleTypes::typeForComboEntry(const QString &entry)
{
    for (const auto &t : kTypes)
        if (entry == QLatin1String(t.comboEntry)) return t.type;
    return -1;
}
