#pragma once
// The file store on the real Win32 file system (CreateFileA, ReadFile, a ReplacementFile). Windows only.
#include "update/FileStore.h"

class FileStoreWin32 : public FileStore {
public:
    std::string ReadWholeFile(const std::string& path, std::size_t spareCapacity) override;
    void WriteWholeFile(const std::string& path, std::string_view bytes) override;
    bool FileExists(const std::string& path) override;
};
