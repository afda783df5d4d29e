#include "app/layout/LayoutResourceWin32.h"

#include <windows.h>

#include <cstdint>
#include <string>

#include "app/layout/LayoutReader.h"

LayoutObject LoadLayoutResource(const char* name)
{
    const HMODULE module = GetModuleHandleA(nullptr);
    const HRSRC resource = FindResourceA(module, name, RT_RCDATA);
    const HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr)
        throw ELayoutError(std::string("The program holds no layout resource ") + name);
    return ReadLayout(static_cast<const std::uint8_t*>(data), SizeofResource(module, resource));
}
