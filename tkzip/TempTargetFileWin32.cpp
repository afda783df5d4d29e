#include "tkzip/TempTargetFileWin32.h"

namespace {

constexpr int NameAttempts = 100;

// ReplaceFileW with a backup name, so that a replacement that fails half-way can put the old file back.
bool ReplaceExisting(const std::wstring& target, const std::wstring& replacement, DWORD attributes)
{
    const std::wstring backup = replacement + L".old";
    if (ReplaceFileW(target.c_str(), replacement.c_str(), backup.c_str(),
                     REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr, nullptr)) {
        DeleteFileW(backup.c_str());
        // Windows keeps the old file's attributes in the replacement; Wine does not, so they are put back.
        SetFileAttributesW(target.c_str(), attributes);
        return true;
    }
    if (GetLastError() == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
        MoveFileExW(backup.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
    return false;
}

// Moves the replacement to a new target, or replaces an existing file; a folder is never replaced.
bool PutInPlace(const std::wstring& target, const std::wstring& replacement)
{
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return MoveFileExW(replacement.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && ReplaceExisting(target, replacement, attributes);
}

} // namespace

TempTargetFile::TempTargetFile(std::wstring target) : target_(std::move(target))
{
    const std::wstring stem = target_ + L".~tkz" + std::to_wstring(GetCurrentProcessId()) + L".";
    for (int attempt = 0; attempt < NameAttempts; ++attempt) {
        path_ = stem + std::to_wstring(attempt);
        file_.Reset(CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file_ || GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (!file_)
        path_.clear();
}

TempTargetFile::~TempTargetFile()
{
    file_.Reset();
    if (!path_.empty())
        DeleteFileW(path_.c_str());
}

bool TempTargetFile::Write(const char* data, std::size_t size)
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

bool TempTargetFile::Commit()
{
    const bool flushed = FlushFileBuffers(file_.Get()) != 0;
    file_.Reset();
    if (!flushed || !PutInPlace(target_, path_))
        return false;
    path_.clear();
    return true;
}
