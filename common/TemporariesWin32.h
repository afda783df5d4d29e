#pragma once
// Where our temporary files live and how those of killed runs are cleared. Windows only.
//
// Every temporary of Update.exe and TkZip.dll (a replacement being written, see ReplacementFileWin32.h)
// lives in the folder "~upd\" at the root of the volume that holds its target: the same volume, so that
// the temporary takes the target's place by a rename; a short path, so that it never makes an install
// fail that the target's own path allows; and outside the application folder. A temporary is named
// "<process id>-<serial>.tmp" after the process writing it. The folder is made when a temporary is
// needed and removed whenever it is left empty.
#include <string>

// The temporaries folder for a target path, ending in "\"; empty when the path's volume is unknown.
std::wstring TemporariesFolder(const std::wstring& target);

// The name of a process's serial-th temporary.
std::wstring TemporaryName(unsigned long processId, unsigned serial);

// Removes the temporaries that ended processes left in the folder (a process is killed between creating
// and renaming its file), and this process's own, then the folder when that leaves it empty. Files of
// running processes, and names of other forms, are kept. A temporary only ever holds new bytes whose
// source is still staged, so removing one never loses a user's file.
void RemoveLeftTemporaries(const std::wstring& folder);
