#include "common/ReplacementFileWin32.h"

#include "common/AccessRulesWin32.h"
#include "common/HoldsWin32.h"
#include "common/TemporariesWin32.h"

namespace {

const DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Sets the attributes as SetFileAttributesW does, through a handle already open.
bool SetAttributes(HANDLE file, DWORD attributes)
{
    FILE_BASIC_INFO basic{};
    basic.FileAttributes = attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL;
    return SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic) != 0;
}

// Gives the closed replacement the attributes and access rules of the open old file.
bool TakeOldFilesLooks(const std::wstring& replacement, HANDLE old, DWORD attributes)
{
    const FileHandle file(CreateFileW(replacement.c_str(), FILE_WRITE_ATTRIBUTES | WRITE_DAC, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file || !SetAttributes(file.Get(), attributes & kKeptAttributes))
        return false;
    CopyAccessRules(old, file.Get());
    return true;
}

// An existing target is replaced only when it is a file that may be written and that no other program
// holds open: it is opened so, with no sharing (a folder fails there; under Wine as root a read-only
// file does not, so its attribute is checked as well). The replacement takes the old file's attributes
// and access rules before the rename, so that the target never shows without them.
bool TakeOldFilesPlace(const std::wstring& replacement, const std::wstring& target)
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
    if (!TakeOldFilesLooks(replacement, old.Get(), basic.FileAttributes))
        return false;
    old.Reset();
    return MoveFileExW(replacement.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

// The folder part of a path, ending in "\\".
std::wstring FolderOf(const std::wstring& path)
{
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

} // namespace

ReplacementFile::ReplacementFile(std::wstring target)
    : target_(std::move(target)), file_(CreateTemporary(GENERIC_WRITE, FILE_ATTRIBUTE_NORMAL, path_))
{
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

bool ReplacementFile::Flush()
{
    const bool flushed = FlushFileBuffers(file_.Get()) != 0;
    file_.Reset(); // the rename opens it by its path
    return flushed;
}

bool ReplacementFile::Commit()
{
    if (file_.Valid() && !Flush())
        return false;
    // First as a new file, by a rename that replaces nothing: a missing target costs no look-up of its own.
    // Another program holding our file or the old one for a moment (a scanner) is waited for.
    const auto renameAsNew = [&] { return MoveFileExW(path_.c_str(), target_.c_str(), MOVEFILE_WRITE_THROUGH); };
    const auto replaceOld = [&] { return TakeOldFilesPlace(path_, target_); };
    const bool isNew = OutlastHolds(renameAsNew) != 0;
    if (!isNew && (GetLastError() != ERROR_ALREADY_EXISTS || !OutlastHolds(replaceOld)))
        return false;
    // A new file takes the access rules of its folder once it is there; it is not yet used by anybody then.
    if (isNew)
        InheritAccessRules(target_, FolderOf(target_), FolderOf(path_));
    path_.clear();
    return true;
}
