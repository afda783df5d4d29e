#include "common/TemporariesWin32.h"

#include <windows.h>

#include <atomic>
#include <cwchar>
#include <functional>
#include <vector>

#include "common/AccessRulesWin32.h"
#include "common/AsideName.h"
#include "common/HandlesWin32.h"
#include "common/HoldsWin32.h"

namespace {

const int kNameAttempts = 100;
const wchar_t kFolderName[] = L"Update\\~upd\\";
const wchar_t kNameEnd[] = L".tmp";
const wchar_t kKeptMark[] = L"kept-";

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

// A name that its process keeps for the length of a run ("<process id>-kept-<serial>.tmp").
bool IsKept(const wchar_t* name)
{
    const wchar_t* dash = std::wcschr(name, L'-');
    return dash != nullptr && std::wcsncmp(dash + 1, kKeptMark, std::wcslen(kKeptMark)) == 0;
}

// True when the file has no other name (another name, as a kept log's, lets it be removed).
bool IsOnlyName(const std::wstring& path)
{
    const FileHandle file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION information{};
    return !file || !GetFileInformationByHandle(file.Get(), &information) || information.nNumberOfLinks <= 1;
}

// A kept name that is its file's only name: the bytes live nowhere else.
bool IsKeptOnlyName(const std::wstring& folder, const wchar_t* name)
{
    return IsKept(name) && IsOnlyName(folder + name);
}

// A name of a process that has ended (not this one).
bool OfAnEndedProcess(const wchar_t* name)
{
    const DWORD owner = OwnerOf(name);
    return owner != 0 && owner != GetCurrentProcessId() && !Runs(owner);
}

// Nothing of this process is being written while it clears the folder; what it keeps, it removes itself.
// A kept name that is the last of its file stays for the update run to fold back (update/LeftLogRecovery.h).
bool LeftOver(const std::wstring& folder, const wchar_t* name)
{
    if (OwnerOf(name) == GetCurrentProcessId())
        return !IsKept(name);
    return OfAnEndedProcess(name) && !IsKeptOnlyName(folder, name);
}

// Calls `visit` with the name of each temporary in the folder.
void ForEachTemporary(const std::wstring& folder, const std::function<void(const wchar_t*)>& visit)
{
    WIN32_FIND_DATAW found{};
    const FindHandle find(FindFirstFileW((folder + L"*" + kNameEnd).c_str(), &found));
    for (bool more = find.Valid(); more; more = FindNextFileW(find.Get(), &found) != 0)
        visit(found.cFileName);
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

namespace {

// The application folder: the folder of the module that holds this code, ending in "\\"; empty when unknown.
std::wstring ThisModuleFolder()
{
    const std::wstring module = ThisModulePath();
    const std::size_t cut = module.find_last_of(L"\\/");
    return cut == std::wstring::npos ? L"" : module.substr(0, cut + 1);
}

} // namespace

std::wstring TemporariesFolder()
{
    const std::wstring folder = ThisModuleFolder();
    return folder.empty() ? L"" : TemporariesFolderOf(folder);
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

std::wstring KeptName(unsigned long processId, unsigned serial)
{
    return std::to_wstring(processId) + L"-" + kKeptMark + std::to_wstring(serial) + kNameEnd;
}

namespace {

// Makes a new file of this process in the temporaries folder by `make`, under one name after another
// (named by `name`) until one is free; the folder is made only when it is missing, since each look-up of
// a path costs a file system walk. `path` receives the path made, or stays empty on failure.
bool MakeTemporary(const std::function<std::wstring(unsigned long, unsigned)>& name,
                   const std::function<bool(const std::wstring&)>& make, std::wstring& path)
{
    static std::atomic<unsigned> serial{0}; // replacements are written on several threads
    const std::wstring folder = TemporariesFolder();
    for (int attempt = 0; attempt < kNameAttempts && !folder.empty(); ++attempt) {
        path = folder + name(GetCurrentProcessId(), ++serial);
        if (make(path))
            return true;
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS && error != ERROR_PATH_NOT_FOUND)
            break;
        if (error == ERROR_PATH_NOT_FOUND && !MakeTemporariesFolder(folder))
            break;
    }
    path.clear();
    return false;
}

} // namespace

FileHandle CreateTemporary(DWORD access, DWORD flagsAndAttributes, std::wstring& path)
{
    FileHandle file;
    MakeTemporary(TemporaryName, [&](const std::wstring& name) {
        file.Reset(CreateFileW(name.c_str(), access, 0, nullptr, CREATE_NEW, flagsAndAttributes, nullptr));
        return file.Valid();
    }, path);
    return file;
}

bool LinkTemporary(const std::wstring& existing, std::wstring& path)
{
    return MakeTemporary(KeptName, [&](const std::wstring& name) {
        return CreateHardLinkW(name.c_str(), existing.c_str(), nullptr) != 0;
    }, path);
}

namespace {

// What RemoveTemporary could not remove, for RemoveTemporariesLeftToEnd.
std::vector<std::wstring>& LeftToEnd()
{
    static std::vector<std::wstring> paths;
    return paths;
}

// The application folder that the temporaries folder lies in, ending in "\\"; empty for another folder.
std::wstring ApplicationFolderOf(const std::wstring& temporaries)
{
    const std::size_t length = std::wcslen(kFolderName);
    if (temporaries.size() < length || temporaries.compare(temporaries.size() - length, length, kFolderName) != 0)
        return L"";
    return temporaries.substr(0, temporaries.size() - length);
}

// The file's path relative to the application folder; empty when it lies elsewhere.
std::wstring RelativeToApplicationFolder(const std::wstring& file)
{
    const std::wstring folder = ThisModuleFolder();
    const int length = static_cast<int>(folder.size());
    if (folder.empty() || file.size() <= folder.size() ||
        CompareStringOrdinal(file.c_str(), length, folder.c_str(), length, TRUE) != CSTR_EQUAL)
        return L"";
    return file.substr(folder.size());
}

} // namespace

void RemoveTemporary(const std::wstring& path)
{
    if (!DeleteFileW(path.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
        LeftToEnd().push_back(path);
}

void RemoveTemporariesLeftToEnd()
{
    if (LeftToEnd().empty())
        return;
    for (const std::wstring& path : LeftToEnd())
        OutlastHolds([&] { return DeleteFileW(path.c_str()); });
    LeftToEnd().clear();
    RemoveDirectoryW(TemporariesFolder().c_str());
}

bool MoveAside(const std::wstring& file, std::wstring& path)
{
    const std::wstring origin = RelativeToApplicationFolder(file);
    if (!FitsAsideName(origin)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    return MakeTemporary([&](unsigned long processId, unsigned serial) { return AsideName(processId, serial, origin); },
                         [&](const std::wstring& name) {
                             return MoveFileExW(file.c_str(), name.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
                         },
                         path);
}

namespace {

// An image put aside by a process that has ended: back to where it came from when that is missing (it is
// then the only copy, left by a kill between the two renames), else deleted. What cannot be done now (the
// image is still mapped, its origin's folder is gone) is left for a later clearing. The asides of this
// process and of running ones are mapped, and stay.
void ClearAside(const std::wstring& folder, const wchar_t* name)
{
    std::wstring origin;
    const std::wstring applicationFolder = ApplicationFolderOf(folder);
    if (!OfAnEndedProcess(name) || applicationFolder.empty() || !AsideOrigin(name, origin))
        return;
    const std::wstring aside = folder + name;
    const std::wstring home = applicationFolder + origin;
    if (GetFileAttributesW(home.c_str()) != INVALID_FILE_ATTRIBUTES)
        DeleteFileW(aside.c_str());
    else if (GetLastError() == ERROR_FILE_NOT_FOUND)
        MoveFileExW(aside.c_str(), home.c_str(), MOVEFILE_WRITE_THROUGH);
}

// Removes a temporary left over. One of this process was written and closed moments ago, which is when a
// virus scanner looks at a new file: its removal outlasts a moment's hold, so that a run leaves nothing of
// its own. One of an ended process is old; should it be held, a later clearing removes it.
void RemoveLeftOver(const std::wstring& path, bool ours)
{
    const auto remove = [&] { return DeleteFileW(path.c_str()); };
    if (ours)
        OutlastHolds(remove);
    else
        remove();
}

} // namespace

void RemoveLeftTemporaries(const std::wstring& folder)
{
    if (folder.empty())
        return;
    ForEachTemporary(folder, [&](const wchar_t* name) {
        if (IsAsideName(name))
            ClearAside(folder, name);
        else if (LeftOver(folder, name))
            RemoveLeftOver(folder + name, OwnerOf(name) == GetCurrentProcessId());
    });
    RemoveDirectoryW(folder.c_str());
}

std::vector<std::wstring> LeftKeptOnlyNames(const std::wstring& folder)
{
    std::vector<std::wstring> paths;
    ForEachTemporary(folder, [&](const wchar_t* name) {
        if (OfAnEndedProcess(name) && IsKeptOnlyName(folder, name))
            paths.push_back(folder + name);
    });
    return paths;
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
