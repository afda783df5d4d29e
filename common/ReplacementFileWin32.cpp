#include "common/ReplacementFileWin32.h"

#include "common/AccessRulesWin32.h"
#include "common/HoldsWin32.h"
#include "common/ImageSwap.h"
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

// Opens the existing target with the access and sharing given and, unless it is a folder or read-only
// (under Wine as root a read-only file opens for writing, so its attribute is checked), gives the
// replacement its attributes and access rules, so that the target never shows without them. The handle
// is closed again before the rename.
bool TakeTargetsLooks(const std::wstring& replacement, const std::wstring& target, DWORD access, DWORD sharing)
{
    const FileHandle old(CreateFileW(target.c_str(), access | READ_CONTROL, sharing, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    FILE_BASIC_INFO basic{};
    if (!old || !GetFileInformationByHandleEx(old.Get(), FileBasicInfo, &basic, sizeof basic))
        return false;
    if ((basic.FileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    return TakeOldFilesLooks(replacement, old.Get(), basic.FileAttributes);
}

// An existing target is replaced only when it is a file that may be written and that no other program
// holds open: it is opened so, with no sharing (a folder fails there).
bool TakeOldFilesPlace(const std::wstring& replacement, const std::wstring& target)
{
    return TakeTargetsLooks(replacement, target, GENERIC_WRITE, 0) &&
           MoveFileExW(replacement.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

// Whether the file is an image that this process has mapped: its program or a library loaded into it,
// found by the path it was loaded from (letter case ignored).
bool InUseHere(const std::wstring& path)
{
    HMODULE module = nullptr;
    return GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT, path.c_str(), &module) != 0;
}

// The renames that swap an image in use for its replacement (common/ImageSwap.h), write-through.
class ImageRenamesWin32 : public ImageRenames {
public:
    ImageRenamesWin32(const std::wstring& replacement, const std::wstring& target)
        : replacement_(replacement), target_(target)
    {
    }

    bool ImageAside() override { return Kept(MoveAside(target_, aside_), failure_); }
    bool NewFileIn() override { return Kept(Rename(replacement_, target_), failure_); }
    bool ImageBack() override { return Kept(Rename(aside_, target_), lastError_); }
    bool Held() override { return IsHold(lastError_); }
    bool PlaceEmpty() override
    {
        return GetFileAttributesW(target_.c_str()) == INVALID_FILE_ATTRIBUTES &&
               GetLastError() == ERROR_FILE_NOT_FOUND;
    }

    // Why the image could not be swapped: the last failure of its rename aside or of the new file's in.
    DWORD Failure() const { return failure_; }

private:
    static bool Rename(const std::wstring& from, const std::wstring& to)
    {
        return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
    }

    // Keeps the error of a rename that failed, as the last one's and in `error`.
    bool Kept(bool renamed, DWORD& error)
    {
        if (!renamed)
            error = lastError_ = GetLastError();
        return renamed;
    }

    const std::wstring& replacement_;
    const std::wstring& target_;
    std::wstring aside_;
    DWORD lastError_ = ERROR_SUCCESS;
    DWORD failure_ = ERROR_SUCCESS;
};

// An image that this process has mapped (Update.exe itself, the TkZip.dll bound to it) can be neither
// opened for writing, replaced nor deleted, only renamed: when TakeOldFilesPlace failed so, the image is
// renamed aside into our temporaries folder (MoveAside) and the replacement into its place, never leaving
// the place empty where a rename can fill it (SwapImage). The image aside stays mapped, and so on disk,
// until the process ends; a later clearing of the folder deletes it, or puts it back when a kill between the
// two renames left the target missing. Any other failure is left as it was.
bool TakeImagesPlace(const std::wstring& replacement, const std::wstring& target)
{
    const DWORD error = GetLastError();
    if ((error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) || !InUseHere(target)) {
        SetLastError(error);
        return false;
    }
    const DWORD sharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    if (!TakeTargetsLooks(replacement, target, FILE_READ_ATTRIBUTES, sharing))
        return false;
    ImageRenamesWin32 renames(replacement, target);
    const HoldOperation operation;
    if (SwapImage(renames, operation.Wait()))
        return true;
    SetLastError(renames.Failure());
    return false;
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
    const HoldOperation operation; // our file and the target wait within one bound
    if (file_.Valid() && !Flush())
        return false;
    // First as a new file, by a rename that replaces nothing: a missing target costs no look-up of its own.
    // Another program holding our file or the old one for a moment (a scanner) is waited for. An image of
    // ours in use refuses the old file's open as a hold would: it is renamed aside at once, not waited for.
    const auto renameAsNew = [&] { return MoveFileExW(path_.c_str(), target_.c_str(), MOVEFILE_WRITE_THROUGH); };
    const auto replaceOld = [&] { return TakeOldFilesPlace(path_, target_) || TakeImagesPlace(path_, target_); };
    const bool isNew = OutlastHolds(renameAsNew) != 0;
    if (!isNew && (GetLastError() != ERROR_ALREADY_EXISTS || !OutlastHolds(replaceOld)))
        return false;
    // A new file takes the access rules of its folder once it is there; it is not yet used by anybody then.
    if (isNew)
        InheritAccessRules(target_, FolderOf(target_), FolderOf(path_));
    path_.clear();
    return true;
}
