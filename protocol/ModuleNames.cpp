#include "protocol/ModuleNames.h"

#include "protocol/ModuleTypes.h"

#include <algorithm>

ModuleNames ModuleNames::forType(int type)
{
    ModuleNames names;
    const ModuleTypeInfo *info = ModuleTypes::info(type);
    names.outputs.resize(info ? static_cast<size_t>(info->outputs) : 0);
    return names;
}

QString ModuleNames::of(const std::vector<QString> &list, int number)
{
    return number >= 1 && number <= static_cast<int>(list.size()) ? list[static_cast<size_t>(number - 1)]
                                                                  : QString();
}

bool ModuleNames::isEmpty() const
{
    const auto none = [](const std::vector<QString> &list) {
        return std::all_of(list.begin(), list.end(), [](const QString &n) { return n.isEmpty(); });
    };
    return none(outputs) && none(pushButtons) && none(scenes);
}
