#include "update/LeftLogRecovery.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <limits>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "common/Errors.h"
#include "update/NormalisedReading.h"

namespace {

// The bytes that a source hands out, taken as many at a time as the taker wants.
class Cursor {
public:
    explicit Cursor(ByteSource& source) : source_(source) {}

    // Up to `most` of the next bytes, valid until the next call; empty at the end.
    std::string_view Take(std::uint64_t most)
    {
        if (piece_.empty())
            piece_ = source_.Next();
        const std::string_view taken = piece_.substr(0, static_cast<std::size_t>(std::min<std::uint64_t>(most, piece_.size())));
        piece_.remove_prefix(taken.size());
        return taken;
    }

private:
    ByteSource& source_;
    std::string_view piece_;
};

std::uint64_t NormalisedLength(PieceReader& file)
{
    NormalisedReading reading(file);
    std::uint64_t length = 0;
    for (std::string_view piece = reading.Next(); !piece.empty(); piece = reading.Next())
        length += piece.size();
    return length;
}

// Whether the two texts, as the text list rules them, are equal from here on.
bool SameRest(Cursor& log, Cursor& earlier)
{
    for (std::string_view rest; !(rest = earlier.Take(std::numeric_limits<std::uint64_t>::max())).empty();) {
        while (!rest.empty()) {
            const std::string_view taken = log.Take(rest.size());
            if (taken.empty() || rest.compare(0, taken.size(), taken) != 0)
                return false;
            rest.remove_prefix(taken.size());
        }
    }
    return log.Take(1).empty();
}

// Whether the log, as the text list rules it, ends with the earlier log's lines.
bool EndsWith(PieceReader& log, PieceReader& earlier)
{
    const std::uint64_t logLength = NormalisedLength(log);
    const std::uint64_t earlierLength = NormalisedLength(earlier);
    if (logLength < earlierLength)
        return false;
    NormalisedReading logReading(log);
    NormalisedReading earlierReading(earlier);
    Cursor logBytes(logReading);
    Cursor earlierBytes(earlierReading);
    for (std::uint64_t skip = logLength - earlierLength; skip > 0;) {
        const std::size_t skipped = logBytes.Take(skip).size();
        if (skipped == 0)
            return false; // the log grew shorter meanwhile
        skip -= skipped;
    }
    return SameRest(logBytes, earlierBytes);
}

// The first file's lines, then the second's, each as the text list rules them; either may be missing.
class Appended : public ByteSource {
public:
    Appended(PieceReader* first, PieceReader* second)
    {
        if (first != nullptr)
            first_.emplace(*first);
        if (second != nullptr)
            second_.emplace(*second);
    }

    std::string_view Next() override
    {
        if (first_) {
            const std::string_view piece = first_->Next();
            if (!piece.empty())
                return piece;
            first_.reset();
        }
        return second_ ? second_->Next() : std::string_view();
    }

private:
    std::optional<NormalisedReading> first_;
    std::optional<NormalisedReading> second_;
};

void FoldBack(FileStore& store, const std::string& logPath, PieceReader& earlier)
{
    std::unique_ptr<PieceReader> log;
    if (store.FileExists(logPath)) {
        log = store.ReadInPieces(logPath);
        if (EndsWith(*log, earlier))
            return;
    }
    Appended bytes(log.get(), &earlier);
    store.SaveFile(logPath, bytes);
}

} // namespace

void FoldBackLeftLogs(FileStore& store, const std::string& applicationFolder)
{
    const std::string logPath = UpdateLogPath(applicationFolder);
    std::vector<LeftKeptFile> left = store.LeftKeptFiles();
    std::stable_sort(left.begin(), left.end(),
                     [](const LeftKeptFile& a, const LeftKeptFile& b) { return a.lastWritten > b.lastWritten; });
    for (const LeftKeptFile& kept : left) {
        try {
            FoldBack(store, logPath, *store.ReadInPieces(kept.path));
            store.ForgetLeftKeptFile(kept.path);
        } catch (const std::exception&) {
            // Kept for a later run: its records are safe where they are.
        }
    }
}

bool InstallLogWithEarlierRecords(FileStore& store, const std::string& logPath, PieceReader& staged,
                                  PieceReader& earlier)
{
    const bool holdsThem = EndsWith(staged, earlier);
    Appended bytes(&staged, holdsThem ? nullptr : &earlier);
    try {
        store.SaveFile(logPath, bytes);
        return true;
    } catch (const EFOpenError&) {
        throw;
    } catch (const std::exception&) {
        return false;
    }
}

void LetGoOfEarlierLog(LogText& log, FileStore& store, const std::string& applicationFolder)
{
    if (log.earlier != nullptr && log.earlier->MayBeTheOnlyCopy()) {
        try {
            FoldBack(store, UpdateLogPath(applicationFolder), *log.earlier);
        } catch (...) {
            // Also what a run that ends by an error meets: the kept bytes wait for the next run.
            log.earlier->LeaveForALaterRun();
        }
    }
    log.earlier.reset();
}
