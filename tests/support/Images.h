#pragma once

#include "protocol/ModuleImage.h"
#include "protocol/ModuleState.h"
#include "protocol/ModuleTypes.h"

#include <vector>

// Module images the tests fill and compare.
namespace Images {

// An image of `type` (0..3) whose slot N holds (N * step + seed) % 1000: every slot differs from
// its neighbours, and two seeds give images that differ in every slot.
inline ModuleImage pattern(int type, int seed, int step = 11)
{
    ModuleImage image(ModuleTypes::info(type)->slotCount);
    for (int slot = 0; slot < image.size(); ++slot)
        image.set(slot, (slot * step + seed) % 1000);
    return image;
}

// The values of an image, slot 0 first, as the simulator's memory and a module file list them.
inline std::vector<int> values(const ModuleImage &image)
{
    std::vector<int> v;
    for (int slot = 0; slot < image.size(); ++slot)
        v.push_back(image.value(slot));
    return v;
}

// The three images of two states are equal (nothing was written).
inline bool sameImages(const ModuleState &a, const ModuleState &b)
{
    return a.RelayImage == b.RelayImage && a.DimImage == b.DimImage && a.VelanoImage == b.VelanoImage;
}

} // namespace Images
