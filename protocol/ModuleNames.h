#pragma once

#include <QString>
#include <vector>

// What the installer calls a module's outputs (or channels), push buttons and scenes: entry 0 is
// number 1, an empty entry has no name. Names are never stored in the module itself.
struct ModuleNames
{
    static constexpr int PushButtons = 20;
    static constexpr int Scenes = 20;
    std::vector<QString> outputs; // as many as the module type has outputs or channels
    std::vector<QString> pushButtons = std::vector<QString>(PushButtons);
    std::vector<QString> scenes = std::vector<QString>(Scenes);

    // No names, sized for a module of `type`.
    static ModuleNames forType(int type);
    // The name of number `number` (1-based) in `list`; empty when it has none.
    static QString of(const std::vector<QString> &list, int number);
    bool isEmpty() const;
    bool operator==(const ModuleNames &) const = default;
};
