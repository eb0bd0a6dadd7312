#pragma once

#include "protocol/ModuleTypes.h"

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
        if (contains(slot)) m_slots[static_cast<size_t>(slot)] = value;
    }

    bool operator==(const ModuleImage &other) const = default;

private:
    std::vector<int> m_slots;
};

// Three decimal digits with leading zeros: the last three characters of 1000 + n.
QString threeDigits(int n);
