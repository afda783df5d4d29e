// The real Update.exe meeting a file that another program holds open with no sharing, as a virus scanner,
// the search indexer or a backup tool does: for a moment, outlasted; for good, the failure as before. The
// test holds the file itself from before the run until a second after the run has ended the client (just
// before it starts installing), so the run meets the hold; what is checked is the outcome, never a duration.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "common/SystemError.h"
#include "support/FileHold.h"
#include "support/FixturePath.h"
#include "support/LogRecords.h"
#include "support/MessageBoxWatcher.h"
#include "support/UpdaterRun.h"

namespace {

const char NoticeCaption[] = "Marovin--\xD4\xDA\xCF\xDF\xBF\xBC\xCA\xD4\xC6\xBD\xCC\xA8"; // Marovin--在线考试平台
const char NoticeClose[] = "\xA1\xBD\xCE\xC4\xBC\xFE\xC9\xFD\xBC\xB6\xCA\xA7\xB0\xDC!"; // 〗文件升级失败!

// How long a moment's hold lasts once the client is gone.
const DWORD kMomentMs = 1000;

class UpdateExeHoldsTest : public testing::TestWithParam<const char*> {
protected:
    // b.txt over an old one, gone.txt missing (an entry error, whose record is saved), c.txt new, a.dat
    // extracted from an archive; a record of an earlier run in the log, and version files to rotate.
    void Stage()
    {
        app.WriteManifest({"b.txt", "gone.txt", "c.txt", "a_dat.zip"});
        ASSERT_TRUE(
            CopyFileA(FixturePath("zip/Stored.zip").c_str(), (app.Folder() + "Update\\a_dat.zip").c_str(), FALSE));
        app.Write("Update\\b.txt", "new b");
        app.Write("b.txt", "old b");
        app.Write("Update\\c.txt", "new c");
        app.Write("UpLog.dat", "old record\r\n");
        app.Write("QeltoUp.dat", "current");
        app.Write("QeltoU2.dat", "staged");
    }

    std::string OpenErrorRecord(const std::string& staged, DWORD error) const
    {
        return ",Cannot open file \"" + app.Folder() + "Update\\" + staged + "\". " + SystemErrorText(error);
    }

    void ExpectRotatedAndRelaunched() const
    {
        EXPECT_EQ(app.Read("QeltoUp.dat"), "staged");
        EXPECT_EQ(app.Read("QeltoUp.bak"), "current");
        EXPECT_FALSE(app.Exists("QeltoU2.dat"));
        EXPECT_EQ(app.ClientStartsOnceThereAre(2).size(), 2u) << "relaunched";
    }

    UpdaterFixture app;
};

} // namespace


// Each file that the run opens, renames or saves, held for a moment: the run waits it out and ends exactly as
// a run that met no hold, with no box, the missing file's record saved above the earlier run's.
TEST_P(UpdateExeHoldsTest, AFileHeldForAMomentIsWaitedForAndTheRunEndsAsIfNothingHeldIt)
{
    Stage();
    StartedProcess client = app.StartClient("QeltoExam.exe");
    FileHold hold(app.Folder() + GetParam());
    ASSERT_TRUE(hold);
    hold.LetGoLater([&] { client.Ended(); }, kMomentMs);

    StartedProcess run = app.Start("-UR");
    MessageBoxWatcher watcher(IDOK, {}, run.Id());

    ASSERT_TRUE(run.Ended());
    EXPECT_EQ(run.ExitCode(), 0u);
    EXPECT_TRUE(watcher.Seen().empty());
    EXPECT_EQ(app.Read("b.txt"), "new b");
    EXPECT_EQ(app.Read("c.txt"), "new c");
    EXPECT_EQ(app.Read("a.dat"), "stored member\r\n");
    const std::vector<std::string> records = {OpenErrorRecord("gone.txt", ERROR_FILE_NOT_FOUND), "<no stamp>old record"};
    EXPECT_EQ(RecordsAfterStamps(app.Read("UpLog.dat")), records);
    ExpectRotatedAndRelaunched();
}

INSTANTIATE_TEST_SUITE_P(HeldFiles, UpdateExeHoldsTest,
                         testing::Values("Update\\b.txt", "Update\\c.txt", "Update\\a_dat.zip", "b.txt", "UpLog.dat",
                                         "Update\\UpFile.Dat", "QeltoUp.dat"));

// Held for good, the staged file fails as it always did: its entry's record names the sharing violation,
// and the run goes on to its end. (c.txt is copied ahead while earlier entries are handled: the copy made
// in turn after it is the one that waits, and records.)
TEST_F(UpdateExeHoldsTest, AStagedFileHeldForGoodGetsTheOpenErrorRecordAndTheRunGoesOn)
{
    Stage();
    StartedProcess client = app.StartClient("QeltoExam.exe");
    FileHold hold(app.Folder() + "Update\\c.txt");
    ASSERT_TRUE(hold);

    StartedProcess run = app.Start("-UR");
    MessageBoxWatcher watcher(IDOK, {}, run.Id());

    ASSERT_TRUE(run.Ended());
    EXPECT_TRUE(watcher.Seen().empty());
    EXPECT_EQ(app.Read("b.txt"), "new b");
    EXPECT_FALSE(app.Exists("c.txt"));
    const std::vector<std::string> records = {OpenErrorRecord("c.txt", ERROR_SHARING_VIOLATION),
                                              OpenErrorRecord("gone.txt", ERROR_FILE_NOT_FOUND),
                                              "<no stamp>old record"};
    EXPECT_EQ(RecordsAfterStamps(app.Read("UpLog.dat")), records);
    ExpectRotatedAndRelaunched();
}

// Held for good, the target is a copy failure as it always was: the notice, its record, the run ended there
// with nothing rotated or relaunched, and the window left open.
TEST_F(UpdateExeHoldsTest, ATargetHeldForGoodIsACopyFailure)
{
    Stage();
    StartedProcess client = app.StartClient("QeltoExam.exe");
    std::optional<FileHold> hold;
    hold.emplace(app.Folder() + "b.txt");
    ASSERT_TRUE(*hold);

    StartedProcess run = app.Start("-UR");
    MessageBoxWatcher watcher(IDOK, {}, run.Id());

    const std::vector<SeenMessageBox> boxes = watcher.WaitForBoxes(1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, NoticeCaption);
    EXPECT_EQ(boxes[0].text, std::string("\xA1\xBC") + "b.txt" + NoticeClose); // 〖b.txt〗文件升级失败!
    const HWND window = UpdaterFixture::VisibleWindow(run.Id());
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(run.Ended());
    EXPECT_EQ(watcher.Seen().size(), 1u);
    hold.reset();
    EXPECT_EQ(app.Read("b.txt"), "old b");
    EXPECT_FALSE(app.Exists("c.txt"));
    const std::vector<std::string> records = {std::string(",\xA1\xBC") + "b.txt" + NoticeClose, "<no stamp>old record"};
    EXPECT_EQ(RecordsAfterStamps(app.Read("UpLog.dat")), records);
    EXPECT_EQ(app.Read("QeltoU2.dat"), "staged");
    EXPECT_EQ(app.ClientStarts().size(), 1u) << "nothing relaunched";
}

// A reader that holds the log, letting others read and write it but not delete it, across a clean run and
// for a moment after the relaunch: our second name of the log (a name of the same file) cannot be removed
// while it reads, so the program removes it once the reader lets go, before it ends; nothing of ours is left
// in the temporaries folder and the log is as it was.
TEST_F(UpdateExeHoldsTest, TheKeptLogIsGoneWhenTheProgramEndsThoughAReaderHeldTheLogAtTheRelaunch)
{
    app.WriteManifest({"c.txt"});
    app.Write("Update\\c.txt", "new c");
    app.Write("UpLog.dat", "old record\r\n");
    FileHold reader(app.Folder() + "UpLog.dat", FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(reader);
    reader.LetGoLater([&] { app.ClientStartsOnceThereAre(1); }, 300);

    StartedProcess run = app.Start("-UR");

    ASSERT_TRUE(run.Ended());
    EXPECT_EQ(run.ExitCode(), 0u);
    EXPECT_EQ(app.Read("c.txt"), "new c");
    EXPECT_EQ(app.Read("UpLog.dat"), "old record\r\n");
    EXPECT_FALSE(app.Exists("Update\\~upd")) << "nothing of ours is left";
}
