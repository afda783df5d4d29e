#include "update/UpdateLog.h"

#include <optional>
#include <utility>

#include "common/AsciiUpper.h"
#include "update/NormalisedReading.h"
#include "update/NormalisedText.h"
#include "update/Timestamp.h"

namespace {

// GBK bytes of the record texts.
const char kOpenBracket[] = "\xA1\xBC";                                        // 〖
const char kCopyFailed[] = "\xA1\xBD" "\xCE\xC4\xBC\xFE" "\xC9\xFD\xBC\xB6" "\xCA\xA7\xB0\xDC" "!"; // 〗文件升级失败!
const char kUpdateFailed[] = "\xC9\xFD\xBC\xB6" "\xCA\xA7\xB0\xDC";             // 升级失败
const char kRotationCode[] = "2158983876";
const char kLogName[] = "UpLog.dat";

// The log's new bytes: the run's records, then the earlier log, as the text list rules them.
class LogRewrite : public ByteSource {
public:
    explicit LogRewrite(const LogText& log) : records_(log.records)
    {
        if (log.earlier != nullptr)
            earlier_.emplace(*log.earlier);
    }

    std::string_view Next() override
    {
        if (!records_.empty()) {
            const std::string_view records = normaliser_.Next(std::exchange(records_, {}));
            if (!records.empty())
                return records;
        }
        // A NUL in a record ends the whole text, as the text list would split it.
        return earlier_ && !normaliser_.Ended() ? earlier_->Next() : std::string_view();
    }

private:
    std::string_view records_; // every record ends with CR LF, so the earlier log starts a line
    LineEndNormaliser normaliser_;
    std::optional<NormalisedReading> earlier_;
};

} // namespace

std::string UpdateLogPath(const std::string& applicationFolder)
{
    return applicationFolder + kLogName;
}

bool NamesTheLog(const std::string& entry)
{
    return AsciiUpperCase(entry) == AsciiUpperCase(kLogName);
}

LogText OpenLog(FileStore& store, const std::string& applicationFolder)
{
    const std::string path = UpdateLogPath(applicationFolder);
    LogText log;
    if (store.FileExists(path))
        log.earlier = store.KeepFile(path);
    return log;
}

void AddRecord(LogText& log, const std::string& record, FileStore& store, const std::string& applicationFolder)
{
    log.records.insert(0, record + "\r\n");
    LogRewrite rewrite(log);
    store.SaveFile(UpdateLogPath(applicationFolder), rewrite);
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
