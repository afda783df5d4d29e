#include "imaging/surface/PictureRegistry.h"

#include <utility>

void PictureRegistry::Register(const std::string& kind, PictureFactory factory)
{
    factories_[kind] = std::move(factory);
}

const PictureFactory* PictureRegistry::Find(const std::string& kind) const
{
    const auto found = factories_.find(kind);
    return found == factories_.end() ? nullptr : &found->second;
}

PictureRegistry& PictureClasses()
{
    static PictureRegistry registry;
    return registry;
}
