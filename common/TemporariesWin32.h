#pragma once
// Where our temporary files live and how those of killed runs are cleared. Windows only.
//
// Every temporary of Update.exe and TkZip.dll (a replacement being written, see ReplacementFileWin32.h)
// lives in the folder "~upd\" of the staging folder "Update\" beside the program's files: Update.exe and
// TkZip.dll sit in the application folder, so both use "<application folder>\Update\~upd\". That is one
// place of ours, on the volume of every target (targets lie inside the application folder), so that a
// temporary takes its target's place by a rename; its short names never make an install fail that the
// target's own path allows; and nothing of ours lands among the client's files. A temporary is named
// "<process id>-<serial>.tmp" after the process writing it; an image put aside, by the form of
// common/AsideName.h. The folder is made when a temporary is needed
// and removed, once empty, when the update run or the ProZip call that used it ends (TemporariesScope). A caller of ProZip whose target lies on another volume than the
// DLL gets a failure (-1): the rename cannot cross volumes.
#include <windows.h>

#include <string>
#include <vector>

#include "common/HandlesWin32.h"

// The temporaries folder of this module's application folder, ending in "\"; empty when unknown.
std::wstring TemporariesFolder();

// The temporaries folder of the application folder `applicationFolder` (ending in "\").
std::wstring TemporariesFolderOf(const std::wstring& applicationFolder);

// Makes the folder (and the staging folder it lies in) unless it is there; another process may remove it
// again whenever it is empty. True when it exists.
bool MakeTemporariesFolder(const std::wstring& folder);

// The name of a process's serial-th temporary.
std::wstring TemporaryName(unsigned long processId, unsigned serial);

// The name of a process's serial-th kept temporary, a name it keeps for the length of a run and removes
// itself: its own clearing of the folder (a ProZip call in the same process) leaves it, while the clearing
// by any later run removes it once the process has ended.
std::wstring KeptName(unsigned long processId, unsigned serial);

// Creates a new temporary of this process in this module's temporaries folder (made when missing), with
// CreateFileW's access and flags and no sharing; `path` receives its path. Any thread may call it. An invalid handle on failure
// (GetLastError tells why), `path` then empty.
FileHandle CreateTemporary(DWORD access, DWORD flagsAndAttributes, std::wstring& path);

// Makes a second name for the existing file (a hard link, on the same volume) among this process's kept
// temporaries in this module's temporaries folder (made when missing); `path` receives it. False where
// that cannot be done (a file system without hard links: FAT32), GetLastError telling why; `path` is then
// empty.
bool LinkTemporary(const std::wstring& existing, std::wstring& path);

// Removes a temporary of this process; when another program holds its file so that it cannot be removed
// now, remembers it for RemoveTemporariesLeftToEnd. Main thread only.
void RemoveTemporary(const std::wstring& path);

// Tries once more to remove each temporary that RemoveTemporary could not, as the program ends, outlasting
// a moment's hold (common/HoldsWin32.h), and forgets them, then removes the temporaries folder when that
// leaves it empty: what is still held then goes with a later run's clearing. Main thread only.
void RemoveTemporariesLeftToEnd();

// Renames the file, which lies in this module's application folder, into this module's temporaries folder
// (made when missing) under an aside name of this process (common/AsideName.h) that carries the file's path
// relative to the application folder; `path` receives the new path. Images in use are put aside so (see
// ReplacementFileWin32.h). False when the rename fails (GetLastError tells why; `path` is then empty), or
// with ERROR_ACCESS_DENIED when the file lies elsewhere or its relative path is too long for the name.
bool MoveAside(const std::wstring& file, std::wstring& path);

// Clears this module's temporaries folder when made and again when it goes (RemoveLeftTemporaries), so the
// folder stays while a run or a ProZip call installs file after file and is gone once it ends. What was
// found out about the access rules that folders hand down (AccessRulesWin32.h) is kept just as long.
class TemporariesScope {
public:
    TemporariesScope();
    TemporariesScope(const TemporariesScope&) = delete;
    TemporariesScope& operator=(const TemporariesScope&) = delete;
    ~TemporariesScope();
};

// Removes the temporaries that ended processes left in the folder (a process is killed between creating
// and renaming its file, or while it keeps a name), and this process's own but for its kept names, then
// the folder when that leaves it empty. Files of running processes, and names of other forms, are kept,
// and so is a kept name left by an ended process that is its file's only name (LeftKeptOnlyNames).
// An image that an ended process put aside (MoveAside) goes back to its origin in the application folder
// when nothing is there, since it is then the only copy (the process was killed between renaming it aside
// and renaming the new file in); else it is deleted, once no longer mapped. This process's asides stay:
// they are mapped until it ends. The removal of this process's own temporaries (a copy dropped, a
// replacement not committed, whose removal failed then) outlasts a moment's hold (common/HoldsWin32.h).
// A temporary only ever holds new bytes whose source is still staged, or (a kept name) the log of a run's
// start, which every save of that run has written into the log again, or which, as the only name left of
// that log, is not removed here; so removing one never loses a user's file.
void RemoveLeftTemporaries(const std::wstring& folder);

// The paths of the kept names in the folder that ended processes left and that are their files' only
// names: the log of a killed run's start that an installed file took the place of before a save.
std::vector<std::wstring> LeftKeptOnlyNames(const std::wstring& folder);
