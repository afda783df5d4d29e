#pragma once
// The log of a run's start folded back into the log before its last name goes. A run keeps the log it
// started with under a second name (FileStore::KeepFile, OpenLog) and lets go of it as it ends. Most often
// the log holds those records too (every save writes them below the run's own), but after an entry has
// installed a staged "UpLog.dat" and before the next save, the kept name is the only place left of the
// earlier records. One rule folds them back, whether the run ends (LetGoOfEarlierLog) or was killed and a
// later run finds the name (FoldBackLeftLogs): when the log, as the text list rules it, does not already
// end with the kept lines, they are added below the log's own (they are older than anything in it). Both
// files are read in pieces, never whole. A kept file that cannot be folded back stays for a later run; the
// run goes on.
#include <string>

#include "update/FileStore.h"
#include "update/UpdateLog.h"

// At a run's start: folds back every kept file that ended runs left as their files' only names, the newest
// first (by when its bytes were last written), so that the oldest records end up lowest, as the log orders
// them; each is removed once folded back.
void FoldBackLeftLogs(FileStore& store, const std::string& applicationFolder);

// Installs a staged log over the log in one save: its lines, then the earlier log's below them unless it
// already ends with them, as a later fold would leave it; so the log never holds the staged lines without
// the earlier records, whatever fails after. False when the save failed, the log left as it was;
// EFOpenError when either file cannot be read.
bool InstallLogWithEarlierRecords(FileStore& store, const std::string& logPath, PieceReader& staged,
                                  PieceReader& earlier);

// As a run ends, whichever way: lets go of the log kept from its start, folding it back first when its
// bytes may live only there; when that fails, they are left for a later run. Raises nothing.
void LetGoOfEarlierLog(LogText& log, FileStore& store, const std::string& applicationFolder);
