#include "update/UpdateFilesWin32.h"

#include <windows.h>

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

// A copy whose source could not be opened ahead is made again, after every other copy ahead is dropped:
// one of ours may have held the same file (another spelling of its name), and the error raised then is
// the one that a copy made in turn meets.
bool UpdateFilesWin32::CopyFileByStream(const std::string& source, const std::string& target)
{
    std::optional<CopyAhead> ahead = ahead_.Take(source, target);
    if (ahead && !ahead->error)
        return ahead->copy && ahead->copy->Commit();
    if (ahead)
        ahead_.DropAll();
    return ::CopyFileByStream(source, target);
}

void UpdateFilesWin32::AnnounceCopy(const std::string& source, const std::string& target)
{
    ahead_.Announce(source, target);
}

void UpdateFilesWin32::DropAnnouncedCopies()
{
    ahead_.DropAll();
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
