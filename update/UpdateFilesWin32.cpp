#include "update/UpdateFilesWin32.h"

#include <windows.h>

#include <utility>

#include "common/HoldsWin32.h"
#include "common/UnitPublic.h"

bool UpdateFilesWin32::FolderExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool UpdateFilesWin32::CreateFolder(const std::string& path)
{
    return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

UpdateFilesWin32::UpdateFilesWin32(CopiesAhead::Writer writeAhead) : ahead_(std::move(writeAhead)) {}

// A copy that failed ahead is made again in turn, after every other copy ahead is dropped: one of ours may
// have held the same file (another spelling of its name), or taken the disk space it needed; what fails
// then is the copy's outcome. A copy that could not be written ahead stops the copies ahead for the rest
// of the run, so that a disk that suffices for one file after the other suffices for the run.
bool UpdateFilesWin32::CopyFileByStream(const std::string& source, const std::string& target)
{
    std::optional<CopyAhead> ahead = ahead_.Take(source, target);
    if (ahead && ahead->copy)
        return ahead->copy->Commit();
    if (ahead && ahead->error)
        ahead_.DropAll();
    else if (ahead)
        ahead_.StopAhead();
    return ::CopyFileByStream(source, target);
}

bool UpdateFilesWin32::AnnounceCopy(const std::string& source, const std::string& target)
{
    return ahead_.Announce(source, target);
}

void UpdateFilesWin32::DropAnnouncedCopies()
{
    ahead_.DropAll();
}

std::size_t UpdateFilesWin32::AnnouncedCopies()
{
    return ahead_.Queued();
}

// Both outlast another program's moment's hold on the file; a new name that exists fails at once.
bool UpdateFilesWin32::RemoveFile(const std::string& path)
{
    return OutlastHolds([&] { return DeleteFileA(path.c_str()); }) != FALSE;
}

bool UpdateFilesWin32::RenameFile(const std::string& from, const std::string& to)
{
    return OutlastHolds([&] { return MoveFileA(from.c_str(), to.c_str()); }) != FALSE;
}
