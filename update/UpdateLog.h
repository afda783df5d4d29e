#pragma once
// The update log "UpLog.dat" beside the program: one record per line, newest first, rewritten whole after
// every record. Each record opens with the Timestamp text taken when it is built.
#include <memory>
#include <string>

#include "update/FileStore.h"
#include "update/LocalTime.h"

// The log as a run holds it: the run's own records, newest first, each followed by CR LF, and the log
// file that the run began with. Every save writes both, so the records of earlier runs are never lost by
// us, whatever the run installs (a staged "UpLog.dat" among its entries) or another program puts in the
// log's place in between. The older log is kept by the file store (FileStore::KeepFile: under a second
// name, not in memory, so a run's memory stays that of a piece whatever the log's size) and ruled only
// while it is written.
struct LogText {
    std::string records;
    std::unique_ptr<KeptFile> earlier; // null when the run began without a log
};

// The log file's path: the application folder followed directly by "UpLog.dat".
std::string UpdateLogPath(const std::string& applicationFolder);

// Whether a manifest entry (a path relative to the application folder) installs over the log: it is
// "UpLog.dat", ASCII letter case ignored, as Windows finds names.
bool NamesTheLog(const std::string& entry);

// Reads the log that the presence test finds, once, at the start of a run (EFOpenError when it cannot be
// read, so that an unreadable log stops a run before it changes anything); no log gives an empty one.
LogText OpenLog(FileStore& store, const std::string& applicationFolder);

// Puts the record in front of the log (it becomes line 1) and saves the whole log: the run's records, then
// the log as it was at the run's start, as the text list rules them (every line ended by CR LF, nothing
// from a NUL on). A failed save keeps the record, and the next save carries it.
void AddRecord(LogText& log, const std::string& record, FileStore& store, const std::string& applicationFolder);

std::string CopyFailureRecord(Clock& clock, const std::string& entry);       // stamp + ",〖" + entry + "〗文件升级失败!"
std::string ExtractionFailureRecord(Clock& clock, const std::string& entry); // stamp + entry + "升级失败"
std::string EntryErrorRecord(Clock& clock, const std::string& message);      // stamp + "," + message
std::string RotationErrorRecord(Clock& clock);                               // stamp + ",2158983876"
