#include "ImportPatchWin32.h"

#include "FileHooksWin32.h"

namespace {

template <typename T>
T* At(HMODULE image, DWORD offset)
{
    return reinterpret_cast<T*>(reinterpret_cast<BYTE*>(image) + offset);
}

bool Rewrite(IMAGE_THUNK_DATA* bound, FARPROC standIn)
{
    DWORD old = 0;
    if (!VirtualProtect(&bound->u1.Function, sizeof bound->u1.Function, PAGE_READWRITE, &old))
        return false;
    bound->u1.Function = reinterpret_cast<ULONG_PTR>(standIn);
    VirtualProtect(&bound->u1.Function, sizeof bound->u1.Function, old, &old);
    return true;
}

} // namespace

int PatchImports(HMODULE image)
{
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image);
    const auto* headers = At<const IMAGE_NT_HEADERS>(image, static_cast<DWORD>(dos->e_lfanew));
    const IMAGE_DATA_DIRECTORY& directory = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    int rewritten = 0;
    if (directory.VirtualAddress == 0)
        return rewritten;
    for (auto* library = At<IMAGE_IMPORT_DESCRIPTOR>(image, directory.VirtualAddress); library->Name != 0;
         ++library) {
        const auto* names = At<IMAGE_THUNK_DATA>(image, library->OriginalFirstThunk);
        auto* bound = At<IMAGE_THUNK_DATA>(image, library->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++bound) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* byName = At<IMAGE_IMPORT_BY_NAME>(image, static_cast<DWORD>(names->u1.AddressOfData));
            const FARPROC standIn = StandInFor(reinterpret_cast<const char*>(byName->Name));
            if (standIn != nullptr && Rewrite(bound, standIn))
                ++rewritten;
        }
    }
    return rewritten;
}
