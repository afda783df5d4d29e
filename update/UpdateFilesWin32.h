#pragma once
// The update run's file operations on the real Win32 file system. Windows only. Announced copies are
// written and flushed ahead by a few worker threads (CopiesAheadWin32.h) and put in place, in turn, by
// CopyFileByStream on the caller's thread. Another program's moment's hold on a file is outlasted, bounded
// (common/HoldsWin32.h), by the copy made in turn, the removal and the rename, never on a worker.
#include "update/CopiesAheadWin32.h"
#include "update/UpdateFiles.h"

class UpdateFilesWin32 : public UpdateFiles {
public:
    // writeAhead: how copies are written ahead (tests make it fail).
    explicit UpdateFilesWin32(CopiesAhead::Writer writeAhead = CopiesAhead::WriteAhead);

    bool FolderExists(const std::string& path) override;
    bool CreateFolder(const std::string& path) override;
    bool CopyFileByStream(const std::string& source, const std::string& target) override;
    bool AnnounceCopy(const std::string& source, const std::string& target) override;
    void DropAnnouncedCopies() override;
    std::size_t AnnouncedCopies() override;
    bool RemoveFile(const std::string& path) override;
    bool RenameFile(const std::string& from, const std::string& to) override;

private:
    CopiesAhead ahead_;
};
