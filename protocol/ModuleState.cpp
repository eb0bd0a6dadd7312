#include "protocol/ModuleState.h"

ModuleImage *ModuleState::imageFor(int type)
{
    return const_cast<ModuleImage *>(static_cast<const ModuleState *>(this)->imageFor(type));
}

const ModuleImage *ModuleState::imageFor(int type) const
{
    const ModuleTypeInfo *info = ModuleTypes::info(type);
    if (!info) return nullptr;
    switch (info->image) {
    case ModuleTypes::Image::Relay:
        return &RelayImage;
    case ModuleTypes::Image::Dim:
        return &DimImage;
    case ModuleTypes::Image::Velano:
        return &VelanoImage;
    }
    return nullptr;
}

void ModuleState::takeModule(int type, const std::vector<int> &values)
{
    ModuleType = type;
    ModuleImage *image = currentImage();
    if (!image) return;
    for (int slot = 0; slot < image->size(); ++slot)
        image->set(slot, slot < static_cast<int>(values.size()) ? values[static_cast<size_t>(slot)] : 0);
}

void ModuleState::markUnchanged()
{
    const ModuleTypeInfo *info = ModuleTypes::info(ModuleType);
    if (info) m_unchanged[static_cast<size_t>(info->image)] = *currentImage();
}

bool ModuleState::hasChanges() const
{
    const ModuleTypeInfo *info = ModuleTypes::info(ModuleType);
    return info && m_unchanged[static_cast<size_t>(info->image)] != *currentImage();
}
