#pragma once
// A new file that takes a target's place in one step when committed, so that the target holds either its
// old bytes or all of the new ones, whenever the writer is killed. The file is written in our temporaries
// folder on the target's volume (common/TemporariesWin32.h), never beside the target, and the old file is
// never moved aside, but for an image that this process has in use (below), so no temporary is ever the
// only copy of it. An uncommitted file is removed when the object goes. Wide paths, used by Update.exe and
// TkZip.dll alike. Windows only.
#include <windows.h>

#include <cstddef>
#include <string>

#include "common/HandlesWin32.h"

class ReplacementFile {
public:
    // Creates an empty, uniquely named file in the target's temporaries folder, opened for writing with
    // no sharing.
    explicit ReplacementFile(std::wstring target);
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;
    ~ReplacementFile();

    // False when the file could not be created (GetLastError tells why).
    bool Created() const { return file_.Valid(); }

    // Appends the bytes; false when they could not all be written.
    bool Write(const char* data, std::size_t size);

    // Flushes the file to disk and closes it; false on failure (GetLastError tells why). Commit does it when
    // not done; done apart, on another thread, it lets the disk flush several files at once.
    bool Flush();

    // Flushes and closes the file unless done and renames it onto the target in one step (MoveFileExW,
    // write-through), first without replacing anything, so that a new target costs no look-up of its own
    // (why not the rename by handle: docs/decisions.md, "The rename by path, not by handle"). A new target
    // takes the access rules of its folder after the rename. An existing one is replaced only when it is a file
    // that is not read-only and that no other program holds open (else ERROR_ACCESS_DENIED or the error of
    // opening it for writing, as Windows refuses the rename), after the replacement has taken its
    // attributes and access rules. A moment's hold by another program on either file is outlasted, within one
    // bound for the commit or the operation it is part of (common/HoldsWin32.h). An image that this process
    // has mapped (its own Update.exe, the loaded TkZip.dll), which Windows lets nobody write, replace or
    // delete but lets be renamed, is renamed aside into our temporaries folder under a name that says where
    // it came from (MoveAside), and the replacement renamed into its place, never leaving the place empty
    // where a rename can fill it (common/ImageSwap.h); the aside goes with a later clearing once this process has ended
    // (RemoveLeftTemporaries), which puts it back instead should a kill between the two renames have left
    // the target missing. False on failure (GetLastError tells why); the target then keeps its old content.
    bool Commit();

private:
    std::wstring target_;
    std::wstring path_;
    FileHandle file_;
};
