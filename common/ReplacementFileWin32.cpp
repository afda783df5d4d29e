#include "common/ReplacementFileWin32.h"

#include "common/FolderPart.h"

namespace {

// "~upd" + process id + serial: unique among the program's own temporary files, and CREATE_NEW keeps
// clear of anybody else's.
std::string CandidateName(const std::string& folder, unsigned serial)
{
    return folder + "~upd" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(serial) + ".tmp";
}

} // namespace

ReplacementFile::ReplacementFile(std::string target) : target_(std::move(target))
{
    static unsigned serial = 0;
    const std::string folder = FolderPartOf(target_);
    for (int attempt = 0; attempt < 100; ++attempt) {
        path_ = CandidateName(folder, ++serial);
        file_.Reset(CreateFileA(path_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file_ || GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (!file_)
        path_.clear();
}

ReplacementFile::~ReplacementFile()
{
    file_.Reset();
    if (!path_.empty())
        DeleteFileA(path_.c_str());
}

bool ReplacementFile::Commit()
{
    FlushFileBuffers(file_.Get());
    file_.Reset();
    const DWORD attributes = GetFileAttributesA(target_.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        if (!MoveFileExA(path_.c_str(), target_.c_str(), MOVEFILE_WRITE_THROUGH))
            return false;
    } else {
        if (!ReplaceFileA(target_.c_str(), path_.c_str(), nullptr,
                          REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr, nullptr))
            return false;
        // Windows keeps the old file's attributes in the replacement; Wine does not, so they are put back.
        SetFileAttributesA(target_.c_str(), attributes);
    }
    path_.clear();
    return true;
}
