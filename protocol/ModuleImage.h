#pragma once

#include <QString>
#include <vector>

// The in-memory copy of a module's configuration memory: a fixed number of slots, each a
// whole number 0..999. The slot index is the cell's address on the wire.
class ModuleImage
{
public:
    explicit ModuleImage(int slotCount) : m_slots(static_cast<size_t>(slotCount), 0) {}

    int size() const { return static_cast<int>(m_slots.size()); }
    int lastSlot() const { return size() - 1; }
    bool contains(int slot) const { return slot >= 0 && slot < size(); }

    // A slot outside the image reads as 0 and is never written.
    int value(int slot) const { return contains(slot) ? m_slots[static_cast<size_t>(slot)] : 0; }
    void set(int slot, int value)
    {
        if (contains(slot))
            m_slots[static_cast<size_t>(slot)] = value;
    }

    bool operator==(const ModuleImage &other) const = default;

private:
    std::vector<int> m_slots;
};

// What the program knows about each module type code (0..3). Type 4 means "no module identified".
struct ModuleTypeInfo
{
    int type;
    int slotCount;
    int lastSlot;
    int versionSlot;
    int progressMaximum;
    const char *comboEntry; // the entry of the module type list for this type
};

namespace ModuleTypes {
constexpr int None = 4;
constexpr int MasterSlot = 40;
constexpr int SecondFunctionTimeSlot = 41;
constexpr int RelaySlots = 340;
constexpr int DimSlots = 150;
constexpr int VelanoSlots = 230;

// The table of the four module types; nullptr for any other code.
const ModuleTypeInfo *info(int type);
bool isKnown(int type);
// The entries of the module type list, in list order.
QStringList comboEntries();
// The type whose module type list entry is `entry` (exact, case-sensitive), or -1.
int typeForComboEntry(const QString &entry);
} // namespace ModuleTypes

// Three decimal digits with leading zeros: the last three characters of 1000 + n.
QString threeDigits(int n);
