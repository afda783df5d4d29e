#pragma once
// Whole-file reads and writes, as the text lists of the manifest and the log need them. The Windows
// implementation (FileStoreWin32.cpp) uses CreateFileA/ReadFile/WriteFile; tests use fakes.
#include <cstddef>
#include <string>
#include <string_view>

class FileStore {
public:
    virtual ~FileStore() = default;

    // Opens the file for reading (other readers allowed, writers refused), reads every byte in one request
    // into a buffer of the file's size and closes it. Raises EFOpenError on failure. The buffer keeps
    // spareCapacity bytes of room beyond the file's bytes, so that a little text can be put in front of
    // them later without a second buffer of the file's size.
    virtual std::string ReadWholeFile(const std::string& path, std::size_t spareCapacity) = 0;

    // Makes the file hold exactly these bytes, written in one request. The bytes go to a temporary file
    // which then takes its place in one step, so a failed or killed save never loses what was on disk.
    // Raises EFCreateError when the file cannot be created or opened for writing (a folder of that name,
    // a file held open by another program), and EWriteError on a short write.
    virtual void WriteWholeFile(const std::string& path, std::string_view bytes) = 0;

    // True when the system finds an entry of that name that is not a folder.
    virtual bool FileExists(const std::string& path) = 0;
};
