#pragma once
// The log of a killed run's start folded back into the log. A run keeps the log it started with under a
// second name (FileStore::KeepFile) and removes that name as it ends. Killed before, it leaves the name to
// a later run; most often the log holds those records too (every save writes them below the run's own),
// but after an entry has installed a staged "UpLog.dat" and before the next save, the kept name is the
// only place left of the earlier records. So at its start a run takes every such name that is now its
// file's only name: when the log does not already end with its lines, they are added below the log's
// own (they are older than anything in it), and then the name is removed. A kept file that cannot be
// read or folded back stays for a later run; the run goes on.
#include <string>

#include "update/FileStore.h"

void FoldBackLeftLogs(FileStore& store, const std::string& applicationFolder);
