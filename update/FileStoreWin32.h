#pragma once
// The file store on the real Win32 file system (CreateFileA, ReadFile, a ReplacementFile). Windows only.
#include "update/FileStore.h"

class FileStoreWin32 : public FileStore {
public:
    std::string ReadWholeFile(const std::string& path) override;
    // The bytes are copied into our temporaries folder, or held in memory where no copy can be made there.
    std::unique_ptr<KeptFile> KeepFile(const std::string& path) override;
    void SaveFile(const std::string& path, ByteSource& bytes) override;
    bool FileExists(const std::string& path) override;
};
