#include "common/ApplicationFolder.h"

#include <windows.h>

#include "common/FolderPart.h"

// Read into a buffer that grows until the whole path fits.
std::string ProgramPath()
{
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::string ApplicationFolder()
{
    return FolderPartOf(ProgramPath());
}
