#pragma once
// The file operations that installing an update needs beyond whole-file reads and writes. The Windows
// implementation is UpdateFilesWin32; tests use a fake that can fail any single operation.
// (Deleting is called RemoveFile: the Win32 headers define DeleteFile as a macro.)
#include <cstddef>
#include <string>

class UpdateFiles {
public:
    virtual ~UpdateFiles() = default;

    // True only for an existing folder.
    virtual bool FolderExists(const std::string& path) = 0;
    // Creates one folder level; fails when the parent is missing or the name exists.
    virtual bool CreateFolder(const std::string& path) = 0;
    // Installs a copy of source as target; false on a copy failure, the old target left intact.
    // Raises EFOpenError when the source cannot be opened.
    virtual bool CopyFileByStream(const std::string& source, const std::string& target) = 0;
    // Announces that CopyFileByStream(source, target) will be asked for, after the copies announced before
    // it, and that nothing the caller does meanwhile changes the source: the copy may be written and
    // flushed ahead (the Windows implementation does it on worker threads), while the checks of the
    // target and its replacement wait for the call. A copy that fails ahead (its source cannot be opened,
    // its bytes cannot be written or flushed) is no failure yet: the call drops every announced copy and
    // makes it again, in turn, and only what fails then is its outcome. False when nothing is copied ahead
    // (any more: a copy that could not be written ahead says the disk may hold too little for copies
    // ahead), so the announcement is not kept.
    virtual bool AnnounceCopy(const std::string& source, const std::string& target) = 0;
    // Forgets every announced copy not yet asked for, removing all that was written for them; returns
    // once nothing of theirs is being written.
    virtual void DropAnnouncedCopies() = 0;
    // How many announced copies wait to be asked for: fewer than were announced and not yet asked for
    // when a call dropped them.
    virtual std::size_t AnnouncedCopies() = 0;
    // Removes a file.
    virtual bool RemoveFile(const std::string& path) = 0;
    // Moves a file to a new name in the same folder; fails, replacing nothing, when the new name exists.
    virtual bool RenameFile(const std::string& from, const std::string& to) = 0;
};
