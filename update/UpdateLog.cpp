#include "update/UpdateLog.h"

#include "update/NormalisedText.h"
#include "update/Timestamp.h"

namespace {

// GBK bytes of the record texts.
const char kOpenBracket[] = "\xA1\xBC";                                        // 〖
const char kCopyFailed[] = "\xA1\xBD" "\xCE\xC4\xBC\xFE" "\xC9\xFD\xBC\xB6" "\xCA\xA7\xB0\xDC" "!"; // 〗文件升级失败!
const char kUpdateFailed[] = "\xC9\xFD\xBC\xB6" "\xCA\xA7\xB0\xDC";             // 升级失败
const char kRotationCode[] = "2158983876";
// Spare room in a loaded log's buffer for the records of a run: each goes in front of the old text by a move
// within the buffer, not into a second buffer of the log's size.
const std::size_t kRoomForRecords = 64 * 1024;

} // namespace

std::string UpdateLogPath(const std::string& applicationFolder)
{
    return applicationFolder + "UpLog.dat";
}

LogText OpenLog(FileStore& store, const std::string& applicationFolder)
{
    const std::string path = UpdateLogPath(applicationFolder);
    if (!store.FileExists(path))
        return {};
    return {store.ReadWholeFile(path, kRoomForRecords)};
}

void AddRecord(LogText& log, const std::string& record, FileStore& store, const std::string& applicationFolder)
{
    PrependNormalised(record + "\r\n", log.bytes);
    store.WriteWholeFile(UpdateLogPath(applicationFolder), log.bytes);
}

std::string CopyFailureRecord(Clock& clock, const std::string& entry)
{
    return TimestampText(clock) + "," + kOpenBracket + entry + kCopyFailed;
}

std::string ExtractionFailureRecord(Clock& clock, const std::string& entry)
{
    return TimestampText(clock) + entry + kUpdateFailed;
}

std::string EntryErrorRecord(Clock& clock, const std::string& message)
{
    return TimestampText(clock) + "," + message;
}

std::string RotationErrorRecord(Clock& clock)
{
    return TimestampText(clock) + "," + kRotationCode;
}
