#pragma once
// The update log "UpLog.dat" beside the program: one record per line, newest first, rewritten whole after
// every record. Each record opens with the Timestamp text taken when it is built.
#include <string>

#include "update/FileStore.h"
#include "update/LocalTime.h"

// The log as a run holds it: the file's bytes as loaded, then the text that the last record made. It is
// kept as bytes, not lines, so that its memory stays about the file's size whatever its lines are like.
struct LogText {
    std::string bytes;
};

// The log file's path: the application folder followed directly by "UpLog.dat".
std::string UpdateLogPath(const std::string& applicationFolder);

// The log file's bytes when the presence test finds it, else empty.
LogText OpenLog(FileStore& store, const std::string& applicationFolder);

// Prepends the record (it becomes line 1) to the log's text, as the text list rules it (every line ended
// by CR LF, nothing from a NUL on), and saves the whole text. A failed save leaves the record in the log.
void AddRecord(LogText& log, const std::string& record, FileStore& store, const std::string& applicationFolder);

std::string CopyFailureRecord(Clock& clock, const std::string& entry);       // stamp + ",〖" + entry + "〗文件升级失败!"
std::string ExtractionFailureRecord(Clock& clock, const std::string& entry); // stamp + entry + "升级失败"
std::string EntryErrorRecord(Clock& clock, const std::string& message);      // stamp + "," + message
std::string RotationErrorRecord(Clock& clock);                               // stamp + ",2158983876"
