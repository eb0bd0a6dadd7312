#include "protocol/ModuleTypes.h"

#include "common/Lang.h"

namespace {
using ModuleTypes::Image;
// The two relay types differ only in their list entry and picture.
constexpr ModuleTypes::Text RelayLabel{"Relaismodule", "Module relais"};
constexpr ModuleTypes::Text RelayCaption{"Relaismodule:", "Module relais:"};
constexpr ModuleTypes::Text OutputFunctions{"Functie van de uitgangen", "Fonctions des sorties"};
constexpr ModuleTypes::Text OutputFunctionsOfFile{"Functie van de uitgangen", "Fonction des sorties"};
constexpr ModuleTypes::Text DimStartValues{"Beginwaarde dim-kanalen", "Valeur début des sorties"};
constexpr std::array<int, 12> AllTwelve{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
constexpr std::array<int, 12> InOrder{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};

constexpr ModuleTypeInfo kTypes[] = {
    {0,
     "ZK3412_ZK2412",
     "relais.bmp",
     Image::Relay,
     ModuleTypes::RelaySlots,
     339,
     79,
     341,
     12,
     0,
     80,
     RelayLabel,
     RelayCaption,
     RelayCaption,
     OutputFunctions,
     OutputFunctionsOfFile,
     true,
     AllTwelve,
     AllTwelve,
     InOrder,
     12},
    // Dim module: its four channels in the middle of the first row of the output test, and in
    // the second and fourth field of each scene column.
    {1,
     "ZK24XX_ZK3447",
     "dimmer.bmp",
     Image::Dim,
     ModuleTypes::DimSlots,
     149,
     47,
     151,
     4,
     4,
     50,
     {"Dimmodule", "Module dim"},
     {"Dimmodule:", "Module dim:"},
     {"Dimmodule:", "Module dimmer:"},
     DimStartValues,
     DimStartValues,
     false,
     {0, 1, 2, 3, 4, 0, 0, 0, 0, 0, 0, 0},
     {0, 1, 0, 2, 0, 0, 0, 3, 0, 4, 0, 0},
     {1, 3, 7, 9},
     4},
    // Velano module: dim channels 1..4 and relay channels 5..8, four in the middle of each row.
    {2,
     "ZK2019",
     "velano.bmp",
     Image::Velano,
     ModuleTypes::VelanoSlots,
     229,
     47,
     231,
     8,
     4,
     50,
     {"Velano module", "Module Velano"},
     {"Velano module:", "Module Velano:"},
     {"Velano module:", "Module Velano:"},
     DimStartValues,
     DimStartValues,
     true,
     {0, 1, 2, 3, 4, 0, 0, 5, 6, 7, 8, 0},
     {1, 2, 0, 5, 6, 0, 3, 4, 0, 7, 8, 0},
     {0, 1, 6, 7, 3, 4, 9, 10},
     8},
    {3,
     "ZK2018",
     "modulair.bmp",
     Image::Relay,
     ModuleTypes::RelaySlots,
     339,
     79,
     341,
     12,
     0,
     80,
     RelayLabel,
     RelayCaption,
     RelayCaption,
     OutputFunctions,
     OutputFunctionsOfFile,
     true,
     AllTwelve,
     AllTwelve,
     InOrder,
     12},
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
