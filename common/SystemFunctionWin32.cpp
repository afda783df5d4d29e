#include "common/SystemFunctionWin32.h"

#include <string>

// Loaded by full path, so that no library of that name in the program's own folder (where updates are
// staged) is taken instead.
FARPROC SystemProcedure(const char* library, const char* name)
{
    char folder[MAX_PATH];
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    const HMODULE module = LoadLibraryA((std::string(folder, length) + "\\" + library).c_str());
    return module != nullptr ? GetProcAddress(module, name) : nullptr;
}
