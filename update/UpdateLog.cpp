#include "update/UpdateLog.h"

#include <memory>
#include <utility>

#include "update/NormalisedText.h"
#include "update/Timestamp.h"

namespace {

// GBK bytes of the record texts.
const char kOpenBracket[] = "\xA1\xBC";                                        // 〖
const char kCopyFailed[] = "\xA1\xBD" "\xCE\xC4\xBC\xFE" "\xC9\xFD\xBC\xB6" "\xCA\xA7\xB0\xDC" "!"; // 〗文件升级失败!
const char kUpdateFailed[] = "\xC9\xFD\xBC\xB6" "\xCA\xA7\xB0\xDC";             // 升级失败
const char kRotationCode[] = "2158983876";
// The size of the pieces in which the earlier log is read again: small enough to stay in the processor's
// cache between the read and the write, large enough that the calls cost little.
const std::size_t kPieceSize = 128 * 1024;

// The log's new bytes: the run's records, then the earlier log, normalised as one text.
class LogRewrite : public ByteSource {
public:
    explicit LogRewrite(const LogText& log) : records_(log.records), earlier_(log.earlier.get())
    {
        if (earlier_ != nullptr) {
            earlier_->Rewind();
            buffer_.reset(new char[kPieceSize]); // not cleared: the reads fill it
        }
    }

    std::string_view Next() override
    {
        while (!normaliser_.Ended()) {
            const std::string_view piece = NextPiece();
            if (!piece.empty())
                return piece;
        }
        // Also when a NUL ended the text early: nothing of the earlier log may stay open while the save
        // puts the new log in its place.
        if (earlier_ != nullptr)
            earlier_->StopReading();
        return {};
    }

private:
    std::string_view NextPiece()
    {
        if (!records_.empty())
            return normaliser_.Next(std::exchange(records_, {}));
        if (earlier_ != nullptr) {
            const std::size_t read = earlier_->Read(buffer_.get(), kPieceSize);
            if (read != 0)
                return normaliser_.Next({buffer_.get(), read});
        }
        return normaliser_.Finish();
    }

    std::string_view records_;
    KeptFile* const earlier_;
    std::unique_ptr<char[]> buffer_;
    LineEndNormaliser normaliser_;
};

} // namespace

std::string UpdateLogPath(const std::string& applicationFolder)
{
    return applicationFolder + "UpLog.dat";
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
