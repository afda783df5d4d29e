#pragma once
// The update log "UpLog.dat" beside the program: one record per line, newest first, rewritten whole after
// every record. Each record opens with the Timestamp text taken when it is built.
#include <string>

#include "update/FileStore.h"
#include "update/LocalTime.h"
#include "update/TextList.h"

// The log file's path: the application folder followed directly by "UpLog.dat".
std::string UpdateLogPath(const std::string& applicationFolder);

// A new list loaded from the log file when the presence test finds it, else empty.
TextList OpenLog(FileStore& store, const std::string& applicationFolder);

// Prepends the record (it becomes line 1) and saves the whole list. A failed save leaves the record in
// the list.
void AddRecord(TextList& log, const std::string& record, FileStore& store, const std::string& applicationFolder);

std::string CopyFailureRecord(Clock& clock, const std::string& entry);       // stamp + ",〖" + entry + "〗文件升级失败!"
std::string ExtractionFailureRecord(Clock& clock, const std::string& entry); // stamp + entry + "升级失败"
std::string EntryErrorRecord(Clock& clock, const std::string& message);      // stamp + "," + message
std::string RotationErrorRecord(Clock& clock);                               // stamp + ",2158983876"
