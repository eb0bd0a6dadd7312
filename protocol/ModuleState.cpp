#include "protocol/ModuleState.h"

ModuleImage *ModuleState::imageFor(int type)
{
    return const_cast<ModuleImage *>(static_cast<const ModuleState *>(this)->imageFor(type));
}

const ModuleImage *ModuleState::imageFor(int type) const
{
    switch (type) {
    case 0:
    case 3:
        return &RelayImage;
    case 1:
        return &DimImage;
    case 2:
        return &VelanoImage;
    default:
        return nullptr;
    }
}
