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
// The size of the pieces in which the old log is read: small enough to stay in the processor's cache
// between the read and the write, large enough that the calls cost little.
const std::size_t kPieceSize = 128 * 1024;

// The log's new bytes: the unsaved records, then the log file as it is now, normalised as one text. The
// file is opened at the first piece that needs it (after the store has made sure that it can be replaced)
// and closed as soon as it has been read, before the new file takes its place.
class LogRewrite : public ByteSource {
public:
    LogRewrite(std::string_view records, FileStore& store, std::string path)
        : records_(records), store_(store), path_(std::move(path)) {}

    std::string_view Next() override
    {
        while (!normaliser_.Ended()) {
            const std::string_view piece = NextPiece();
            if (!piece.empty())
                return piece;
        }
        file_.reset();
        return {};
    }

private:
    std::string_view NextPiece()
    {
        if (!records_.empty())
            return normaliser_.Next(std::exchange(records_, {}));
        if (!opened_) {
            opened_ = true;
            if (store_.FileExists(path_)) {
                file_ = store_.OpenForReading(path_);
                buffer_.reset(new char[kPieceSize]); // not cleared: the reads fill it
            }
        }
        if (file_) {
            const std::size_t read = file_->Read(buffer_.get(), kPieceSize);
            if (read != 0)
                return normaliser_.Next({buffer_.get(), read});
        }
        return normaliser_.Finish();
    }

    std::string_view records_;
    FileStore& store_;
    const std::string path_;
    bool opened_ = false;
    std::unique_ptr<FileReader> file_;
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
    if (store.FileExists(path))
        store.OpenForReading(path);
    return {};
}

void AddRecord(LogText& log, const std::string& record, FileStore& store, const std::string& applicationFolder)
{
    log.unsaved.insert(0, record + "\r\n");
    const std::string path = UpdateLogPath(applicationFolder);
    LogRewrite rewrite(log.unsaved, store, path);
    store.SaveFile(path, rewrite);
    log.unsaved.clear();
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
