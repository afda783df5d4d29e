#include "update/UpdateFilesWin32.h"

#include <windows.h>

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

bool UpdateFilesWin32::CopyFileByStream(const std::string& source, const std::string& target)
{
    return ::CopyFileByStream(source, target);
}

bool UpdateFilesWin32::RemoveFile(const std::string& path)
{
    return DeleteFileA(path.c_str()) != FALSE;
}

bool UpdateFilesWin32::RenameFile(const std::string& from, const std::string& to)
{
    return MoveFileA(from.c_str(), to.c_str()) != FALSE;
}
