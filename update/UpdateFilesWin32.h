#pragma once
// The update run's file operations on the real Win32 file system. Windows only. Announced copies are
// written and flushed ahead by a few worker threads (CopiesAheadWin32.h) and put in place, in turn, by
// CopyFileByStream on the caller's thread.
#include "common/StreamCopyWin32.h"
#include "update/CopiesAheadWin32.h"
#include "update/UpdateFiles.h"

class UpdateFilesWin32 : public UpdateFiles {
public:
    // writeAhead: how copies are written ahead (tests make it fail); WriteStreamCopy by default.
    explicit UpdateFilesWin32(CopiesAhead::Writer writeAhead = WriteStreamCopy);

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
