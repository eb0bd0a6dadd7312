#include "protocol/ModuleImage.h"

#include <QStringList>

namespace {
const ModuleTypeInfo kTypes[] = {
    {0, ModuleTypes::RelaySlots, 339, 79, 341, "ZK3412_ZK2412"},
    {1, ModuleTypes::DimSlots, 149, 47, 151, "ZK24XX_ZK3447"},
    {2, ModuleTypes::VelanoSlots, 229, 47, 231, "ZK2019"},
    {3, ModuleTypes::RelaySlots, 339, 79, 341, "ZK2018"},
};
} // namespace

const ModuleTypeInfo *ModuleTypes::info(int type)
{
    return isKnown(type) ? &kTypes[type] : nullptr;
}

bool ModuleTypes::isKnown(int type)
{
    return type >= 0 && type <= 3;
}

QStringList ModuleTypes::comboEntries()
{
    // List order differs from type order: the two relay entries are not adjacent.
    return {QStringLiteral("ZK3412_ZK2412"), QStringLiteral("ZK24XX_ZK3447"), QStringLiteral("ZK2018"),
            QStringLiteral("ZK2019")};
}

int ModuleTypes::typeForComboEntry(const QString &entry)
{
    for (const auto &t : kTypes)
        if (entry == QLatin1String(t.comboEntry))
            return t.type;
    return -1;
}

QString threeDigits(int n)
{
    // Values outside 0..999 cannot be written on the wire; callers keep slots within range.
    return QString::number(1000 + n).right(3);
}
