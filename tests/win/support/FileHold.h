#pragma once
// A file held open with no sharing, as a virus scanner, the search indexer or a backup tool holds a file for
// a moment: held from the object's making until it lets go, for good when never told to.
#include <windows.h>

#include <functional>
#include <string>
#include <thread>

#include "common/HandlesWin32.h"

class FileHold {
public:
    // Opens the file (or folder) for reading, sharing what `sharing` says (nothing by default; a reader
    // that lets others read and write, but not delete, gives FILE_SHARE_READ | FILE_SHARE_WRITE).
    explicit FileHold(const std::string& path, DWORD sharing = 0);
    // Lets go, waiting for a letting go begun by LetGoLater.
    ~FileHold();
    FileHold(const FileHold&) = delete;
    FileHold& operator=(const FileHold&) = delete;

    // Whether the file is held.
    explicit operator bool() const { return file_.Valid(); }

    // From a thread of its own: waits until `first` returns, then holds on for `milliseconds`, then lets go.
    void LetGoLater(std::function<void()> first, DWORD milliseconds);

private:
    FileHandle file_;
    std::thread letGo_;
};
