#pragma once
// The first half of CopyFileByStream (common/UnitPublic.h): the source's bytes written into a replacement
// for the target and flushed, not yet in the target's place. Windows only.
#include <memory>
#include <string>

#include "common/ReplacementFileWin32.h"

// Whether opening the source waits for another program's moment's hold on it to end (common/HoldsWin32.h),
// or a hold fails at once: a copy written ahead must not keep its thread waiting, since the copy made in
// turn after it waits.
enum class SourceHolds { Outlasted, FailAtOnce };

// The flushed replacement, which Commit puts in the target's place; nothing on a copy failure (GetLastError
// tells why). Raises EFOpenError when the source cannot be opened for reading with no sharing. Any thread
// may call it.
std::unique_ptr<ReplacementFile> WriteStreamCopy(const std::string& source, const std::string& target,
                                                 SourceHolds holds);
