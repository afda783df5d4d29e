#include "common/ReplacementFileWin32.h"

#include "common/AccessRulesWin32.h"
#include "common/TemporariesWin32.h"

namespace {

const int kNameAttempts = 100;
const DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Gives the replacement the attributes and access rules of the file it replaces before the rename, so
// that the target never shows without them; a folder or a read-only file may not be replaced.
bool TakeOldFilesPlace(const std::wstring& target, const std::wstring& replacement, DWORD attributes)
{
    if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    const DWORD kept = attributes & kKeptAttributes;
    if (!SetFileAttributesW(replacement.c_str(), kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL))
        return false;
    CopyAccessRules(target, replacement);
    return MoveFileExW(replacement.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

// A new file takes the access rules of its folder once it is there; it is not yet used by anybody then.
bool TakeNewPlace(const std::wstring& target, const std::wstring& replacement)
{
    if (!MoveFileExW(replacement.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return false;
    InheritAccessRules(target);
    return true;
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
        file_.Reset(CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
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
    const bool flushed = FlushFileBuffers(file_.Get()) != 0;
    file_.Reset();
    if (!flushed)
        return false;
    const DWORD attributes = GetFileAttributesW(target_.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES ? !TakeNewPlace(target_, path_)
                                              : !TakeOldFilesPlace(target_, path_, attributes))
        return false;
    path_.clear();
    return true;
}
