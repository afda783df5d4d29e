#include "app/layout/LayoutTree.h"

const LayoutValue* LayoutObject::Find(const std::string& propertyName) const
{
    for (const LayoutProperty& property : properties)
        if (property.name == propertyName)
            return &property.value;
    return nullptr;
}
