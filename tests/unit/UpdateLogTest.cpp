#include "update/UpdateLog.h"

#include <gtest/gtest.h>

#include <deque>
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

// The description's settings: short date yyyy/M/d, date separator /, 24-hour clock, no leading zero.
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

    TextList log = OpenLog(store, folder);
    EXPECT_EQ(log.Count(), 0u);
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
    TextList later = OpenLog(store, folder);
    EXPECT_EQ(later.Count(), 3u);
    AddRecord(later, RotationErrorRecord(clock), store, folder);
    EXPECT_EQ(store.files[logPath], "2008/5/8,2158983876\r\n" + firstRun);
    EXPECT_EQ(later.Count(), 4u);
}

TEST_F(UpdateLogTest, AMessageHoldingCrLfAddsTwoLines)
{
    clock.moments = {At(2008, 5, 7, 9, 5, 3, 0)};
    TextList log = OpenLog(store, folder);
    AddRecord(log, EntryErrorRecord(clock, "first\r\nsecond"), store, folder);
    ASSERT_EQ(log.Count(), 2u);
    EXPECT_EQ(log.Entry(0), "2008/5/7 9:05:03,first");
    EXPECT_EQ(log.Entry(1), "second");
    EXPECT_EQ(store.files[logPath], "2008/5/7 9:05:03,first\r\nsecond\r\n");
}

TEST_F(UpdateLogTest, AnExistingLogIsRewrittenWithCrLfAndCutAtNul)
{
    store.files[logPath] = std::string("old 1\nold 2\n\nold 3\0gone\r\n", 25);
    TextList log = OpenLog(store, folder);
    AddRecord(log, "new", store, folder);
    EXPECT_EQ(store.files[logPath], "new\r\nold 1\r\nold 2\r\n\r\nold 3\r\n");
}

TEST_F(UpdateLogTest, AFailedSaveLeavesTheRecordInTheList)
{
    store.files[logPath] = "old\r\n";
    TextList log = OpenLog(store, folder);
    store.failCreateReason = "Access denied.";
    try {
        AddRecord(log, "new", store, folder);
        FAIL() << "no error";
    } catch (const EFCreateError& e) {
        EXPECT_STREQ(e.what(), "Cannot create file \"C:\\app\\UpLog.dat\". Access denied");
    }
    ASSERT_EQ(log.Count(), 2u);
    EXPECT_EQ(log.Entry(0), "new");
    EXPECT_EQ(store.files[logPath], "old\r\n");

    // The next record that saves carries the earlier one to the disk.
    store.failCreateReason.clear();
    AddRecord(log, "newer", store, folder);
    EXPECT_EQ(store.files[logPath], "newer\r\nnew\r\nold\r\n");
}
