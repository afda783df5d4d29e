#pragma once
// The first half of CopyFileByStream (common/UnitPublic.h): the source's bytes written into a replacement
// for the target and flushed, not yet in the target's place. Windows only.
#include <memory>
#include <string>

#include "common/ReplacementFileWin32.h"

// The flushed replacement, which Commit puts in the target's place; nothing on a copy failure (GetLastError
// tells why). Raises EFOpenError when the source cannot be opened for reading with no sharing. Any thread
// may call it.
std::unique_ptr<ReplacementFile> WriteStreamCopy(const std::string& source, const std::string& target);
