#include "update/UpdateLog.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <string>

#include "FakeFileStore.h"
#include "update/RegionalSettings.h"

namespace {

// Hands out the moments it was given, one per call.
class FakeClock : public Clock {
public:
    std::deque<LocalTime> moments;
    LocalTime Now() override
    {
        const LocalTime next = moments.front();
        moments.pop_front();
        return next;
    }
};

LocalTime At(int year, int month, int day, int hour, int minute, int second, int millisecond)
{
    LocalTime t;
    t.year = year;
    t.month = month;
    t.day = day;
    t.hour = hour;
    t.minute = minute;
    t.second = second;
    t.millisecond = millisecond;
    return t;
}

// The regional settings these tests use: short date yyyy/M/d, date separator /, 24-hour clock, no leading zero.
class UpdateLogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = *CurrentFormatSettings();
        FormatSettings settings;
        settings.dateSeparator = '/';
        settings.timeSeparator = ':';
        settings.shortDateFormat = "yyyy/M/d";
        settings.longTimeFormat = "h:mm:ss";
        settings.shortTimeFormat = "h:mm";
        ReplaceFormatSettings(settings);
    }
    void TearDown() override { ReplaceFormatSettings(saved_); }

    const std::string folder = "C:\\app\\";
    const std::string logPath = "C:\\app\\UpLog.dat";
    FakeFileStore store;
    FakeClock clock;

private:
    FormatSettings saved_;
};

// GBK bytes of the record texts.
const std::string kOpen = "\xA1\xBC";                                                            // 〖
const std::string kCopyFailed = "\xA1\xBD\xCE\xC4\xBC\xFE\xC9\xFD\xBC\xB6\xCA\xA7\xB0\xDC!"; // 〗文件升级失败!
const std::string kUpdateFailed = "\xC9\xFD\xBC\xB6\xCA\xA7\xB0\xDC";                          // 升级失败

} // namespace

TEST(UpdateLogPath, AppendsTheNameToTheFolder)
{
    EXPECT_EQ(UpdateLogPath("C:\\app\\"), "C:\\app\\UpLog.dat");
    EXPECT_EQ(UpdateLogPath("C:"), "C:UpLog.dat");
}

TEST_F(UpdateLogTest, RecordBuildersGiveTheExactBytes)
{
    const LocalTime morning = At(2008, 5, 7, 9, 5, 3, 250);
    const LocalTime midnight = At(2008, 5, 7, 0, 0, 0, 400);
    const struct {
        const char* name;
        LocalTime when;
        std::string (*build)(Clock&);
        std::string expected;
    } cases[] = {
        {"copy failure", morning, [](Clock& c) { return CopyFailureRecord(c, "a.txt"); },
         "2008/5/7 9:05:03," + kOpen + "a.txt" + kCopyFailed},
        {"extraction failure", morning, [](Clock& c) { return ExtractionFailureRecord(c, "b.zip"); },
         "2008/5/7 9:05:03b.zip" + kUpdateFailed},
        {"extraction failure at midnight", midnight, [](Clock& c) { return ExtractionFailureRecord(c, "b.zip"); },
         "2008/5/7b.zip" + kUpdateFailed},
        {"entry error", morning, [](Clock& c) { return EntryErrorRecord(c, "Stream write error"); },
         "2008/5/7 9:05:03,Stream write error"},
        {"rotation error", morning, [](Clock& c) { return RotationErrorRecord(c); },
         "2008/5/7 9:05:03,2158983876"},
        {"rotation error at midnight", midnight, [](Clock& c) { return RotationErrorRecord(c); },
         "2008/5/7,2158983876"},
    };
    for (const auto& c : cases) {
        clock.moments = {c.when};
        EXPECT_EQ(c.build(clock), c.expected) << c.name;
    }
}

TEST_F(UpdateLogTest, WorkedLogByteForByte)
{
    const std::string message = "Cannot open file \"C:\\app\\Update\\c.txt\". \xD5\xD2\xB2\xBB\xB5\xBD\xCE\xC4\xBC\xFE\xA1\xA3";
    clock.moments = {At(2008, 5, 7, 9, 5, 3, 0), At(2008, 5, 7, 9, 5, 4, 0), At(2008, 5, 7, 9, 5, 5, 0)};

    LogText log = OpenLog(store, folder);
    AddRecord(log, ExtractionFailureRecord(clock, "b.zip"), store, folder);
    AddRecord(log, EntryErrorRecord(clock, message), store, folder);
    AddRecord(log, CopyFailureRecord(clock, "a.txt"), store, folder);

    const std::string firstRun = "2008/5/7 9:05:05," + kOpen + "a.txt" + kCopyFailed + "\r\n" +
                                 "2008/5/7 9:05:04," + message + "\r\n" +
                                 "2008/5/7 9:05:03b.zip" + kUpdateFailed + "\r\n";
    EXPECT_EQ(store.files[logPath], firstRun);
    EXPECT_EQ(store.writes, 3);

    // A later run whose only failure is a rotation error at midnight.
    clock.moments = {At(2008, 5, 8, 0, 0, 0, 200)};
    LogText later = OpenLog(store, folder);
    AddRecord(later, RotationErrorRecord(clock), store, folder);
    EXPECT_EQ(store.files[logPath], "2008/5/8,2158983876\r\n" + firstRun);
}

// Every rule by which the text list splits and joins, on the old log and on the record itself.
TEST_F(UpdateLogTest, AddingARecordRewritesTheLogAsTheTextListRules)
{
    const struct {
        const char* name;
        std::string record;
        std::string before;
        std::string after;
    } cases[] = {
        {"no log yet", "new", "", "new\r\n"},
        {"CR LF kept", "new", "a\r\nb\r\n", "new\r\na\r\nb\r\n"},
        {"lone LF", "new", "a\nb\n", "new\r\na\r\nb\r\n"},
        {"lone CR", "new", "a\rb\r", "new\r\na\r\nb\r\n"},
        {"LF CR is two line ends", "new", "a\n\rb", "new\r\na\r\n\r\nb\r\n"},
        {"CR CR LF", "new", "a\r\r\nb", "new\r\na\r\n\r\nb\r\n"},
        {"empty lines remain", "new", "\r\n\n\r\n", "new\r\n\r\n\r\n\r\n"},
        {"no final line end", "new", "only line", "new\r\nonly line\r\n"},
        {"cut at a NUL", "new", std::string("old 1\nold 2\n\nold 3\0gone\r\n", 25),
         "new\r\nold 1\r\nold 2\r\n\r\nold 3\r\n"},
        {"a NUL first", "new", std::string("\0old\r\n", 6), "new\r\n"},
        {"a NUL after a CR", "new", std::string("old\r\0gone", 9), "new\r\nold\r\n"},
        {"tabs and GBK bytes kept", "new", "\t\xA1\xBC\x0C\xFF\r\n", "new\r\n\t\xA1\xBC\x0C\xFF\r\n"},
        {"record holding CR LF", "first\r\nsecond", "old\r\n", "first\r\nsecond\r\nold\r\n"},
        {"record holding a lone LF", "first\nsecond", "old\r\n", "first\r\nsecond\r\nold\r\n"},
        {"record ending in CR", "new\r", "old\r\n", "new\r\n\r\nold\r\n"},
        {"record ending in LF", "new\n", "old\r\n", "new\r\n\r\nold\r\n"},
        {"empty record", "", "old\r\n", "\r\nold\r\n"},
        {"record holding a NUL drops the old log", std::string("new\0rest", 8), "old\r\n", "new\r\n"},
    };
    for (const auto& c : cases) {
        store.files[logPath] = c.before;
        LogText log = OpenLog(store, folder);
        AddRecord(log, c.record, store, folder);
        EXPECT_EQ(store.files[logPath], c.after) << c.name;
    }
}

// Whatever lands in the log file during a run (a staged log installed over it, another program's
// writing, its deletion), every save writes the run's records above the log the run began with.
TEST_F(UpdateLogTest, EverySaveCarriesTheLogAsItWasAtTheStart)
{
    const struct {
        const char* name;
        void (*meanwhile)(std::map<std::string, std::string>& files, const std::string& logPath);
    } cases[] = {
        {"replaced by other lines", [](auto& files, const auto& path) { files[path] = "staged 1\r\nstaged 2\r\n"; }},
        {"appended to", [](auto& files, const auto& path) { files[path] += "other program\r\n"; }},
        {"emptied", [](auto& files, const auto& path) { files[path].clear(); }},
        {"cut at a NUL", [](auto& files, const auto& path) { files[path].insert(0, 1, '\0'); }},
        {"deleted", [](auto& files, const auto& path) { files.erase(path); }},
    };
    for (const auto& c : cases) {
        store.files[logPath] = "older 2\nolder 1";
        LogText log = OpenLog(store, folder);
        AddRecord(log, "first", store, folder);
        c.meanwhile(store.files, logPath);
        AddRecord(log, "second", store, folder);
        EXPECT_EQ(store.files[logPath], "second\r\nfirst\r\nolder 2\r\nolder 1\r\n") << c.name;
    }
}

// The earlier log is written in pieces: lines that cross the pieces' borders, a CR LF split between two,
// and a log that needs its line ends rebuilt all come out whole.
TEST_F(UpdateLogTest, ALogLargerThanThePiecesItIsWrittenInComesOutWhole)
{
    std::string before, after = "new\r\n";
    for (int i = 0; before.size() < 3 * 128 * 1024 + 7; ++i) {
        const std::string line = "line " + std::to_string(i) + std::string(i % 97, '.');
        before += line + (i % 3 == 0 ? "\n" : i % 3 == 1 ? "\r" : "\r\n");
        after += line + "\r\n";
    }
    store.files[logPath] = before;
    LogText log = OpenLog(store, folder);
    AddRecord(log, "new", store, folder);
    EXPECT_EQ(store.files[logPath], after);
}

TEST_F(UpdateLogTest, AFailedSaveLeavesTheRecordInTheLog)
{
    store.files[logPath] = "old\n";
    LogText log = OpenLog(store, folder);
    store.failCreateReason = "Access denied.";
    try {
        AddRecord(log, "new", store, folder);
        FAIL() << "no error";
    } catch (const EFCreateError& e) {
        EXPECT_STREQ(e.what(), "Cannot create file \"C:\\app\\UpLog.dat\". Access denied");
    }
    EXPECT_EQ(log.records, "new\r\n");
    EXPECT_EQ(store.files[logPath], "old\n");

    // The next record that saves carries the earlier one to the disk.
    store.failCreateReason.clear();
    AddRecord(log, "newer", store, folder);
    EXPECT_EQ(store.files[logPath], "newer\r\nnew\r\nold\r\n");
}
