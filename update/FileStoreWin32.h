#pragma once
// The file store on the real Win32 file system (CreateFileA, ReadFile, a ReplacementFile). Windows only.
#include "update/FileStore.h"

class FileStoreWin32 : public FileStore {
public:
    std::string ReadWholeFile(const std::string& path) override;
    void SaveFile(const std::string& path, ByteSource& bytes) override;
    bool FileExists(const std::string& path) override;
};
