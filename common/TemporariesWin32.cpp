#include "common/TemporariesWin32.h"

#include <windows.h>

#include <atomic>
#include <cwchar>

#include "common/AccessRulesWin32.h"
#include "common/HandlesWin32.h"

namespace {

const int kNameAttempts = 100;
const wchar_t kFolderName[] = L"Update\\~upd\\";
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

// The path of the module (Update.exe or TkZip.dll) that holds this code.
std::wstring ThisModulePath()
{
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&ThisModulePath), &module))
        return L"";
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return L"";
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

} // namespace

std::wstring TemporariesFolder()
{
    const std::wstring module = ThisModulePath();
    const std::size_t cut = module.find_last_of(L"\\/");
    return cut == std::wstring::npos ? L"" : TemporariesFolderOf(module.substr(0, cut + 1));
}

std::wstring TemporariesFolderOf(const std::wstring& applicationFolder)
{
    return applicationFolder + kFolderName;
}

bool MakeTemporariesFolder(const std::wstring& folder)
{
    const std::wstring staging = folder.substr(0, folder.find_last_of(L'\\', folder.size() - 2) + 1);
    CreateDirectoryW(staging.c_str(), nullptr);
    return CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

std::wstring TemporaryName(unsigned long processId, unsigned serial)
{
    return std::to_wstring(processId) + L"-" + std::to_wstring(serial) + kNameEnd;
}

FileHandle CreateTemporary(DWORD access, DWORD flagsAndAttributes, std::wstring& path)
{
    static std::atomic<unsigned> serial{0}; // replacements are written on several threads
    const std::wstring folder = TemporariesFolder();
    FileHandle file;
    // The folder is made only when it is missing: each look-up of a path costs a file system walk.
    for (int attempt = 0; attempt < kNameAttempts && !folder.empty(); ++attempt) {
        path = folder + TemporaryName(GetCurrentProcessId(), ++serial);
        file.Reset(CreateFileW(path.c_str(), access, 0, nullptr, CREATE_NEW, flagsAndAttributes, nullptr));
        const DWORD error = GetLastError();
        if (file || (error != ERROR_FILE_EXISTS && error != ERROR_PATH_NOT_FOUND))
            break;
        if (error == ERROR_PATH_NOT_FOUND && !MakeTemporariesFolder(folder))
            break;
    }
    if (!file)
        path.clear();
    return file;
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

TemporariesScope::TemporariesScope()
{
    ForgetHandedDownRules();
    RemoveLeftTemporaries(TemporariesFolder());
}

TemporariesScope::~TemporariesScope()
{
    try {
        ForgetHandedDownRules();
        RemoveLeftTemporaries(TemporariesFolder());
    } catch (...) {
        // Only memory can run out here; what is left goes at the start of the next run.
    }
}
