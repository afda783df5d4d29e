#pragma once
// The file store on the real Win32 file system (CreateFileA, ReadFile, a ReplacementFile). Every open, and
// the save's rename, outlasts another program's moment's hold on the file, bounded (common/HoldsWin32.h);
// past that, the errors are those of a file held for good. Windows only.
#include "update/FileStore.h"

class FileStoreWin32 : public FileStore {
public:
    std::string ReadWholeFile(const std::string& path) override;
    // The file gets a second name in our temporaries folder (a hard link), so a record costs no copy of
    // the log. Writing into the file in place before anything takes its name shows under the link too;
    // once a save or an installed file has been renamed over it, the link keeps what it held. A read-only
    // file, or one on a file system without hard links (FAT32), is copied there instead, in pieces; where
    // no copy can be made there either, its bytes are held in memory.
    std::unique_ptr<KeptFile> KeepFile(const std::string& path) override;
    void SaveFile(const std::string& path, ByteSource& bytes) override;
    // Opened only while it is read, so that a save may put another file in its place in between.
    std::unique_ptr<PieceReader> ReadInPieces(const std::string& path) override;
    bool FileExists(const std::string& path) override;
    // The kept names in our temporaries folder that ended processes left as their files' only names, with
    // their files' last-write times (no copy of ours sets a file's times, so they tell when a run wrote it).
    std::vector<LeftKeptFile> LeftKeptFiles() override;
    void ForgetLeftKeptFile(const std::string& path) override;
};
