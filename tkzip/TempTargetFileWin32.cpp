#include "tkzip/TempTargetFile.h"

#include <windows.h>

namespace {

constexpr int NameAttempts = 100;


// ReplaceFileW with a backup name, so that a replacement that fails halfway can put the old file back.
bool ReplaceExisting(const std::wstring& target, const std::wstring& replacement)
{
    const std::wstring backup = replacement + L".old";
    if (ReplaceFileW(target.c_str(), replacement.c_str(), backup.c_str(), REPLACEFILE_IGNORE_MERGE_ERRORS,
                     nullptr, nullptr)) {
        DeleteFileW(backup.c_str());
        return true;
    }
    if (GetLastError() == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
        MoveFileExW(backup.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
    return false;
}

} // namespace

TempTargetFile::TempTargetFile(const std::wstring& target) : target_(target), handle_(INVALID_HANDLE_VALUE)
{
    const std::wstring stem = target + L".~tkz" + std::to_wstring(GetCurrentProcessId()) + L".";
    for (int attempt = 0; attempt < NameAttempts && handle_ == INVALID_HANDLE_VALUE; ++attempt) {
        path_ = stem + std::to_wstring(attempt);
        handle_ = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle_ == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    created_ = handle_ != INVALID_HANDLE_VALUE;
}

TempTargetFile::~TempTargetFile()
{
    if (handle_ != INVALID_HANDLE_VALUE)
        CloseHandle(handle_);
    if (created_ && !committed_)
        DeleteFileW(path_.c_str());
}

bool TempTargetFile::IsOpen() const
{
    return created_;
}

bool TempTargetFile::Write(const char* data, std::size_t size)
{
    while (size > 0) {
        const DWORD part = size > MAXDWORD ? MAXDWORD : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(handle_, data, part, &written, nullptr) || written != part)
            return false;
        data += part;
        size -= part;
    }
    return true;
}

bool TempTargetFile::Commit()
{
    const bool flushed = FlushFileBuffers(handle_) != 0;
    CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    if (!flushed)
        return false;
    const DWORD attributes = GetFileAttributesW(target_.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        committed_ = MoveFileExW(path_.c_str(), target_.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
    else if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        committed_ = ReplaceExisting(target_, path_);
    return committed_;
}
