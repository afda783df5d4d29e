#pragma once
// The update run's file operations on the real Win32 file system. Windows only.
#include "update/UpdateFiles.h"

class UpdateFilesWin32 : public UpdateFiles {
public:
    bool FolderExists(const std::string& path) override;
    bool CreateFolder(const std::string& path) override;
    bool CopyFileByStream(const std::string& source, const std::string& target) override;
    bool RemoveFile(const std::string& path) override;
    bool RenameFile(const std::string& from, const std::string& to) override;
};
