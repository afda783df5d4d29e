#pragma once
// A new file written beside a target that takes the target's place only when committed, so that the
// target holds either its old bytes or all of the new ones, even when the writer is killed half-way.
// An uncommitted file is removed when the object goes. Windows only.
#include <windows.h>

#include <string>

#include "common/HandlesWin32.h"

class ReplacementFile {
public:
    // Creates an empty, uniquely named file in the target's folder, opened for writing with no sharing.
    explicit ReplacementFile(std::string target);
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;
    ~ReplacementFile();

    // False when the file could not be created (GetLastError tells why).
    bool Created() const { return file_.Valid(); }
    HANDLE Handle() const { return file_.Get(); }

    // Flushes and closes the file, then puts it in the target's place: ReplaceFileA when the target
    // exists (the target's attributes and security stay), else MoveFileExA. False on failure
    // (GetLastError tells why), and the target then keeps its old content.
    bool Commit();

private:
    std::string target_;
    std::string path_;
    FileHandle file_;
};
