#pragma once
// The update log "UpLog.dat" beside the program: one record per line, newest first, rewritten whole after
// every record. Each record opens with the Timestamp text taken when it is built.
#include <string>

#include "update/FileStore.h"
#include "update/LocalTime.h"

// The log as a run holds it: the records whose save failed, newest first, each followed by CR LF. The
// older records are the log file's: every save reads the file again, a piece at a time, behind the new
// records, so a run's memory stays that of a piece whatever the log's size or the shape of its lines.
struct LogText {
    std::string unsaved;
};

// The log file's path: the application folder followed directly by "UpLog.dat".
std::string UpdateLogPath(const std::string& applicationFolder);

// Checks that a log the presence test finds can be read (EFOpenError when it cannot), so that an
// unreadable log stops a run before it changes anything.
LogText OpenLog(FileStore& store, const std::string& applicationFolder);

// Puts the record in front of the log (it becomes line 1) and saves the whole log: the new records, then
// the bytes of the log file that the presence test finds, as the text list rules them (every line ended
// by CR LF, nothing from a NUL on). A failed save keeps the record, and the next save carries it.
void AddRecord(LogText& log, const std::string& record, FileStore& store, const std::string& applicationFolder);

std::string CopyFailureRecord(Clock& clock, const std::string& entry);       // stamp + ",〖" + entry + "〗文件升级失败!"
std::string ExtractionFailureRecord(Clock& clock, const std::string& entry); // stamp + entry + "升级失败"
std::string EntryErrorRecord(Clock& clock, const std::string& message);      // stamp + "," + message
std::string RotationErrorRecord(Clock& clock);                               // stamp + ",2158983876"
