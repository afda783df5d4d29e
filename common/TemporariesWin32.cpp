#include "common/TemporariesWin32.h"

#include <windows.h>

#include <cwchar>

#include "common/HandlesWin32.h"

namespace {

const wchar_t kFolderName[] = L"~upd\\";
const wchar_t kNameEnd[] = L".tmp";

// The process id that a temporary's name starts with; 0 for a name of another form.
DWORD OwnerOf(const wchar_t* name)
{
    wchar_t* end = nullptr;
    const unsigned long id = std::wcstoul(name, &end, 10);
    return end != name && *end == L'-' ? static_cast<DWORD>(id) : 0;
}

// A process that cannot be opened for lack of rights still runs; only an unknown id has ended.
bool Runs(DWORD processId)
{
    const KernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
    if (!process)
        return GetLastError() != ERROR_INVALID_PARAMETER;
    return WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT;
}

// Nothing of this process is being written while it clears the folder.
bool LeftOver(const wchar_t* name)
{
    const DWORD owner = OwnerOf(name);
    return owner != 0 && (owner == GetCurrentProcessId() || !Runs(owner));
}

} // namespace

std::wstring TemporariesFolder(const std::wstring& target)
{
    std::wstring volume(target.size() + MAX_PATH, L'\0');
    if (!GetVolumePathNameW(target.c_str(), volume.data(), static_cast<DWORD>(volume.size())) || volume[0] == L'\0')
        return L"";
    volume.resize(std::wcslen(volume.c_str()));
    if (volume.back() != L'\\')
        volume += L'\\';
    return volume + kFolderName;
}

std::wstring TemporaryName(unsigned long processId, unsigned serial)
{
    return std::to_wstring(processId) + L"-" + std::to_wstring(serial) + kNameEnd;
}

void RemoveLeftTemporaries(const std::wstring& folder)
{
    if (folder.empty())
        return;
    WIN32_FIND_DATAW found{};
    FindHandle find(FindFirstFileW((folder + L"*" + kNameEnd).c_str(), &found));
    for (bool more = find.Valid(); more; more = FindNextFileW(find.Get(), &found) != 0)
        if (LeftOver(found.cFileName))
            DeleteFileW((folder + found.cFileName).c_str());
    find.Reset();
    RemoveDirectoryW(folder.c_str());
}
