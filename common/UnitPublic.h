#pragma once
// UnitPublic: the program's shared constants and the shared routines that several parts use.

// ---- Stream copy of one file (CopyFileByStreamWin32.cpp) -------------------------------------------
#include <string>

// Installs a copy of source as target; true on success. The source is opened for reading with no
// sharing; failing that raises EFOpenError with its full path and the system's text. The bytes go to a
// temporary file beside the target, which then takes the target's place keeping the old file's
// attributes and security, so the target holds its old bytes after any failure, even a crash mid-copy.
// A target that is a folder, is read-only or is held open by another program is a copy failure (false),
// as is a read or write failure during the copy; the temporary file is removed then.
bool CopyFileByStream(const std::string& source, const std::string& target);
