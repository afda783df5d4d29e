#include "common/ReplacementFileWin32.h"

#include <cstddef>
#include <cstring>
#include <vector>

#include "common/AccessRulesWin32.h"
#include "common/TemporariesWin32.h"

namespace {

const int kNameAttempts = 100;
// Written, renamed and given access rules through its own handle.
const DWORD kReplacementAccess = GENERIC_WRITE | DELETE | WRITE_DAC;
// Write-through: MoveFileExW with MOVEFILE_WRITE_THROUGH renames through a handle it opens so, and here this
// handle makes the rename. The bytes are flushed before the rename all the same.
const DWORD kReplacementFlags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH;
const DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Renames the open file onto the target (a full path, as MoveFileExW takes it) through its handle: the same
// one-step rename that MoveFileExW makes after opening the file by its path. Wine then resolves only the
// target's path, once, not also the file's own path and the target's a second time.
bool RenameByHandle(HANDLE file, const std::wstring& target, bool replace)
{
    const std::size_t nameBytes = target.size() * sizeof(wchar_t);
    std::vector<unsigned char> buffer(offsetof(FILE_RENAME_INFO, FileName) + nameBytes + sizeof(wchar_t));
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = replace ? TRUE : FALSE;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(nameBytes);
    std::memcpy(info->FileName, target.c_str(), nameBytes + sizeof(wchar_t));
    return SetFileInformationByHandle(file, FileRenameInfo, info, static_cast<DWORD>(buffer.size())) != 0;
}

// Sets the attributes as SetFileAttributesW does, through the handle already open.
bool SetAttributes(HANDLE file, DWORD attributes)
{
    FILE_BASIC_INFO basic{};
    basic.FileAttributes = attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL;
    return SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic) != 0;
}

// An existing target is replaced only when it is a file that may be written and that no other program
// holds open: it is opened so, with no sharing (a folder fails there; under Wine as root a read-only
// file does not, so its attribute is checked as well). The replacement takes the old file's attributes
// and access rules before the rename, so that the target never shows without them.
bool TakeOldFilesPlace(HANDLE replacement, const std::wstring& target)
{
    FileHandle old(CreateFileW(target.c_str(), GENERIC_WRITE | READ_CONTROL, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    FILE_BASIC_INFO basic{};
    if (!old || !GetFileInformationByHandleEx(old.Get(), FileBasicInfo, &basic, sizeof basic))
        return false;
    if ((basic.FileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    if (!SetAttributes(replacement, basic.FileAttributes & kKeptAttributes))
        return false;
    CopyAccessRules(old.Get(), replacement);
    old.Reset();
    return RenameByHandle(replacement, target, true);
}

// The folder part of a path, ending in "\\".
std::wstring FolderOf(const std::wstring& path)
{
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

} // namespace

ReplacementFile::ReplacementFile(std::wstring target)
    : target_(std::move(target))
{
    static unsigned serial = 0;
    const std::wstring folder = TemporariesFolder();
    // The folder is made only when it is missing: each look-up of a path costs a file system walk.
    for (int attempt = 0; attempt < kNameAttempts && !folder.empty(); ++attempt) {
        path_ = folder + TemporaryName(GetCurrentProcessId(), ++serial);
        file_.Reset(CreateFileW(path_.c_str(), kReplacementAccess, 0, nullptr, CREATE_NEW, kReplacementFlags, nullptr));
        const DWORD error = GetLastError();
        if (file_ || (error != ERROR_FILE_EXISTS && error != ERROR_PATH_NOT_FOUND))
            break;
        if (error == ERROR_PATH_NOT_FOUND && !MakeTemporariesFolder(folder))
            break;
    }
    if (!file_)
        path_.clear();
}

ReplacementFile::~ReplacementFile()
{
    const DWORD error = GetLastError();
    file_.Reset();
    if (!path_.empty())
        DeleteFileW(path_.c_str());
    SetLastError(error);
}

bool ReplacementFile::Write(const char* data, std::size_t size)
{
    while (size > 0) {
        const DWORD part = size > MAXDWORD ? MAXDWORD : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file_.Get(), data, part, &written, nullptr) || written != part)
            return false;
        data += part;
        size -= part;
    }
    return true;
}

bool ReplacementFile::Commit()
{
    if (!FlushFileBuffers(file_.Get()))
        return false;
    // First as a new file, by a rename that replaces nothing: a missing target costs no look-up of its own.
    const bool isNew = RenameByHandle(file_.Get(), target_, false);
    if (!isNew && (GetLastError() != ERROR_ALREADY_EXISTS || !TakeOldFilesPlace(file_.Get(), target_)))
        return false;
    file_.Reset();
    // A new file takes the access rules of its folder once it is there; it is not yet used by anybody then.
    if (isNew)
        InheritAccessRules(target_, FolderOf(target_), FolderOf(path_));
    path_.clear();
    return true;
}
