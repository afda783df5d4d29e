// End-to-end runs of the real Update.exe under Wine: an application folder with the programs, a manifest
// and staged files, the program started as the exam client starts it, its boxes answered the way a user
// would, its window inspected, and the files, the log and the relaunch checked afterwards.
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "common/SystemError.h"
#include "common/UnitPublic.h"
#include "common/WideTextWin32.h"
#include "support/ClientPixels.h"
#include "support/FixturePath.h"
#include "support/LogRecords.h"
#include "support/MessageBoxWatcher.h"
#include "support/UpdaterRun.h"

namespace {

const char NoticeCaption[] = "Marovin--\xD4\xDA\xCF\xDF\xBF\xBC\xCA\xD4\xC6\xBD\xCC\xA8"; // Marovin--在线考试平台
const char NoticeClose[] = "\xA1\xBD\xCE\xC4\xBC\xFE\xC9\xFD\xBC\xB6\xCA\xA7\xB0\xDC!";     // 〗文件升级失败!
const char ExtractionFailed[] = "\xC9\xFD\xBC\xB6\xCA\xA7\xB0\xDC";                          // 升级失败
const char LaunchedWith[] = "/FromUpdate"; // the plain text of LaunchParameters (tools/encipher.py)

bool Centred(const RECT& outer)
{
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    return outer.left == (GetSystemMetrics(SM_CXVIRTUALSCREEN) - width) / 2 &&
           outer.top == (GetSystemMetrics(SM_CYVIRTUALSCREEN) - height) / 2;
}

// The arguments after the program's own path.
std::vector<std::string> ArgumentsOf(const std::string& commandLine)
{
    std::vector<std::string> arguments = SplitCommandLine(commandLine);
    arguments.erase(arguments.begin());
    return arguments;
}

// Whether the window's rows below its two picture controls come to show only "Label1" on the face colour.
// The screen is read again until they do, for a while: on a slow machine the window may not have painted
// over what a closed message box left there when it first comes on screen.
bool ShowsOnlyLabelBelowThePictures(HWND window, int width, int height)
{
    const int belowPictures = Designed::StripTop + Designed::StripHeight;
    const ClientPixels expected = ExpectedClient(width, height, "Label1").RowsFrom(belowPictures);
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (CaptureClient(window).RowsFrom(belowPictures) == expected)
            return true;
        Sleep(100);
    }
    return false;
}

class UpdateExeTest : public testing::Test {
protected:
    // A manifest of a.txt and b.txt whose first target is read-only, so that a run stops at a copy failure
    // there, and version files that the run then leaves as they are.
    void StageCopyFailureAtTheFirstEntry()
    {
    app.WriteManifest({"a.txt", "b.txt"});
    app.Write("Update\\a.txt", "new a");
    app.Write("Update\\b.txt", "new b");
    app.Write("a.txt", "old a");
    SetFileAttributesA((app.Folder() + "a.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    app.Write("QeltoUp.dat", "current");
    app.Write("QeltoU2.dat", "staged");
    }

    // The window of a run that stays open: visible, the right size, and below its two picture controls
    // only "Label1" on the face colour; then closed as the user closes it, after which the program ends
    // with 0.
    void ExpectOpenWindowThenClose(StartedProcess& run)
    {
        const HWND window = UpdaterFixture::VisibleWindow(run.Id());
        ASSERT_NE(window, nullptr);
        EXPECT_FALSE(run.Ended(1000)) << "the window stays open";
        const ClientPixels shown = CaptureClient(window);
        EXPECT_EQ(shown.width, Designed::ClientWidth);
        EXPECT_EQ(shown.height, Designed::ClientHeight);
        EXPECT_TRUE(ShowsOnlyLabelBelowThePictures(window, shown.width, shown.height))
            << "below the pictures the window shows only Label1";
        PostMessageA(window, WM_CLOSE, 0, 0);
        ASSERT_TRUE(run.Ended());
        EXPECT_EQ(run.ExitCode(), 0u);
    }

    UpdaterFixture app;
};

TEST(TestBedTest, WindowFontMeasuresAsOnAChineseWindowsSoTheWindowKeepsItsDesignedSize)
{
    EXPECT_EQ(WindowFontTextHeight(), 13);
}

TEST_F(UpdateExeTest, WithoutSwitchEndsTheClientShowsTheWindowOnceAtTheCentreAndEnds)
{
    StartedProcess client = app.StartClient("QeltoExam.exe");
    app.WriteManifest({"a.txt"});
    app.Write("Update\\a.txt", "new");

    StartedProcess run = app.Start("");

    ASSERT_TRUE(run.Ended());
    EXPECT_EQ(run.ExitCode(), 0u);
    EXPECT_TRUE(client.Ended());
    const auto showings = app.Showings();
    ASSERT_EQ(showings.size(), 1u);
    EXPECT_TRUE(Centred(showings[0].outer));
    EXPECT_FALSE(showings[0].zoomed);
    EXPECT_FALSE(app.Exists("a.txt")) << "no update run";
    EXPECT_EQ(app.ClientStarts().size(), 1u) << "nothing relaunched";
}

TEST_F(UpdateExeTest, CleanUpdateInstallsRotatesAndRelaunchesBeforeTheWindowShowsThenEnds)
{
    StartedProcess client = app.StartClient("QeltoExam.exe");
    app.WriteManifest({"a.txt", "Sub\\b.txt"});
    app.Write("Update\\a.txt", "new a");
    CreateDirectoryA((app.Folder() + "Update\\Sub").c_str(), nullptr);
    app.Write("Update\\Sub\\b.txt", "new b");
    app.Write("a.txt", "old a");
    app.Write("QeltoUp.dat", "current");
    app.Write("QeltoU2.dat", "staged");
    app.Write("QeltoUp.bak", "backup");

    StartedProcess run = app.Start("-UR");

    ASSERT_TRUE(run.Ended());
    EXPECT_EQ(run.ExitCode(), 0u);
    EXPECT_TRUE(client.Ended());
    EXPECT_EQ(app.Read("a.txt"), "new a");
    EXPECT_EQ(app.Read("Sub\\b.txt"), "new b");
    EXPECT_EQ(app.Read("QeltoUp.dat"), "staged");
    EXPECT_EQ(app.Read("QeltoUp.bak"), "current");
    EXPECT_FALSE(app.Exists("QeltoU2.dat"));
    EXPECT_FALSE(app.Exists("UpLog.dat"));
    const auto starts = app.ClientStartsOnceThereAre(2);
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(ArgumentsOf(starts[1].commandLine), std::vector<std::string>{LaunchedWith});
    EXPECT_EQ(starts[1].folder + "\\", app.Folder());
    EXPECT_TRUE(starts[1].applierLockFree) << "the lock is let go of before the relaunch: the client may start an applier at once";
    const auto showings = app.Showings();
    ASSERT_EQ(showings.size(), 1u);
    EXPECT_TRUE(showings[0].clientStartedBefore) << "the window comes on screen only after the relaunch";
    EXPECT_TRUE(Centred(showings[0].outer));
}

TEST_F(UpdateExeTest, CopyFailureShowsTheNoticeBeforeTheWindowWhichThenStaysOpen)
{
    StageCopyFailureAtTheFirstEntry();
    std::vector<Showing> showingsWhileUp{Showing{}};

    StartedProcess run = app.Start("-UR");
    MessageBoxWatcher watcher(IDOK, [&](const SeenMessageBox&) { showingsWhileUp = app.Showings(); }, run.Id());

    ASSERT_EQ(watcher.WaitForBoxes(1).size(), 1u);
    const SeenMessageBox notice = watcher.Seen()[0];
    EXPECT_EQ(notice.caption, NoticeCaption);
    EXPECT_EQ(notice.text, std::string("\xA1\xBC") + "a.txt" + NoticeClose); // 〖a.txt〗文件升级失败!
    EXPECT_EQ(notice.flags, UINT(MB_ICONINFORMATION | MB_OK));
    EXPECT_TRUE(showingsWhileUp.empty()) << "the window is not on screen while the notice is up";
    ExpectOpenWindowThenClose(run);
    EXPECT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(app.Read("a.txt"), "old a");
    EXPECT_FALSE(app.Exists("b.txt"));
    EXPECT_EQ(app.Read("QeltoUp.dat"), "current");
    EXPECT_EQ(app.Read("QeltoU2.dat"), "staged");
    EXPECT_TRUE(app.ClientStarts().empty());
}

// Later entries are copied ahead while earlier ones are installed; a copy failure drops them all before its
// notice, so while the notice is up no temporary of the run remains and nothing later is in place.
TEST_F(UpdateExeTest, CopyFailureDropsEveryCopyMadeAheadBeforeItsNotice)
{
    std::vector<std::string> manifest;
    for (int i = 0; i < 30; ++i) {
        manifest.push_back("f" + std::to_string(i) + ".txt");
        app.Write("Update\\" + manifest.back(), "new " + manifest.back());
    }
    app.WriteManifest(manifest);
    app.Write("f7.txt", "old");
    SetFileAttributesA((app.Folder() + "f7.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    std::vector<std::string> temporariesWhileUp{"<not seen>"};
    std::vector<std::string> laterWhileUp{"<not seen>"};

    StartedProcess run = app.Start("-UR");
    MessageBoxWatcher watcher(IDOK, [&](const SeenMessageBox&) {
        temporariesWhileUp.clear();
        WIN32_FIND_DATAA found{};
        const HANDLE find = FindFirstFileA((app.Folder() + "Update\\~upd\\*.tmp").c_str(), &found);
        for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &found) != 0)
            temporariesWhileUp.push_back(found.cFileName);
        if (find != INVALID_HANDLE_VALUE)
            FindClose(find);
        laterWhileUp.clear();
        for (std::size_t i = 8; i < manifest.size(); ++i)
            if (app.Exists(manifest[i]))
                laterWhileUp.push_back(manifest[i]);
    }, run.Id());

    ASSERT_EQ(watcher.WaitForBoxes(1).size(), 1u);
    EXPECT_EQ(watcher.Seen()[0].text, std::string("\xA1\xBC") + "f7.txt" + NoticeClose);
    ExpectOpenWindowThenClose(run);
    EXPECT_TRUE(temporariesWhileUp.empty()) << temporariesWhileUp.front();
    EXPECT_TRUE(laterWhileUp.empty()) << laterWhileUp.front();
    EXPECT_EQ(app.Read("f6.txt"), "new f6.txt");
    EXPECT_EQ(app.Read("f7.txt"), "old");
    SetFileAttributesA((app.Folder() + "f7.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// While one applier works in the folder (held here at its copy failure notice), another one started
// there, with any switch, ends at once with 0: no window, no process ended, no file touched, nothing
// started. Once the work is over, the first one's window left open keeps no later run out.
TEST_F(UpdateExeTest, AnotherApplierEndsAtOnceWhileOneWorksAndALaterOneRunsBesideItsOpenWindow)
{
    StageCopyFailureAtTheFirstEntry();
    app.Write("UpLog.dat", "earlier run\r\n");
    struct Ending {
        bool ended;
        DWORD exitCode;
    };
    std::vector<Ending> others;
    std::size_t showingsMeanwhile = 0;
    std::unique_ptr<StartedProcess> client;

    StartedProcess first = app.Start("-UR");
    MessageBoxWatcher watcher(IDOK, [&](const SeenMessageBox&) {
        client = std::make_unique<StartedProcess>(app.StartClient("QeltoExam.exe"));
        for (const char* arguments : {"-UR", "", "-ur other"}) {
            const StartedProcess other = app.Start(arguments);
            others.push_back({other.Ended(), other.ExitCode()});
        }
        showingsMeanwhile = app.Showings().size(); // the first one's window waits for the notice
    }, first.Id());

    ASSERT_EQ(watcher.WaitForBoxes(1, 180000).size(), 1u);
    const HWND window = UpdaterFixture::VisibleWindow(first.Id());
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(others.size(), 3u);
    for (const Ending& other : others) {
        EXPECT_TRUE(other.ended);
        EXPECT_EQ(other.exitCode, 0u);
    }
    ASSERT_NE(client, nullptr);
    EXPECT_FALSE(client->Ended(0)) << "no other applier ended the client";
    EXPECT_EQ(showingsMeanwhile, 0u) << "no window of another applier";
    EXPECT_EQ(RecordsAfterStamps(app.Read("UpLog.dat")),
              (std::vector<std::string>{std::string(",\xA1\xBC") + "a.txt" + NoticeClose, "<no stamp>earlier run"}));
    EXPECT_FALSE(app.Exists("b.txt"));
    EXPECT_EQ(app.Read("QeltoU2.dat"), "staged");
    EXPECT_EQ(app.ClientStarts().size(), 1u) << "nothing relaunched";

    app.WriteManifest({"b.txt"});
    const StartedProcess later = app.Start("-UR");
    ASSERT_TRUE(later.Ended());
    EXPECT_EQ(later.ExitCode(), 0u);
    EXPECT_TRUE(client->Ended()) << "the later run ends the client";
    EXPECT_EQ(app.Read("b.txt"), "new b");
    EXPECT_EQ(app.Read("QeltoUp.dat"), "staged");
    EXPECT_EQ(app.ClientStartsOnceThereAre(2).size(), 2u) << "and relaunches it";
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(first.Ended());
    EXPECT_EQ(first.ExitCode(), 0u);
}

TEST_F(UpdateExeTest, MissingManifestIsReportedInOneErrorBoxThenTheWindowStaysOpen)
{
    StartedProcess run = app.Start("-UR");
    MessageBoxWatcher watcher(IDOK, {}, run.Id());

    ASSERT_EQ(watcher.WaitForBoxes(1).size(), 1u);
    const SeenMessageBox report = watcher.Seen()[0];
    EXPECT_EQ(report.caption, "Update");
    EXPECT_EQ(report.text, "Cannot open file \"" + app.Folder() + "Update\\UpFile.Dat\". " +
                               SystemErrorText(ERROR_FILE_NOT_FOUND) + ".");
    EXPECT_EQ(report.flags, UINT(MB_ICONERROR | MB_OK));
    ExpectOpenWindowThenClose(run);
    EXPECT_EQ(watcher.Seen().size(), 1u);
    EXPECT_FALSE(app.Exists("UpLog.dat"));
    EXPECT_TRUE(app.ClientStarts().empty());
}

TEST_F(UpdateExeTest, WorkedLogHoldsOneRecordPerFailureNewestFirst)
{
    app.WriteManifest({"b.zip", "c.txt", "a.txt"});
    app.Write("Update\\b.zip", "PK\x03\x04 not really an archive");
    app.Write("Update\\a.txt", "new a");
    app.Write("a.txt", "old a");
    SetFileAttributesA((app.Folder() + "a.txt").c_str(), FILE_ATTRIBUTE_READONLY);

    StartedProcess run = app.Start("-UR");
    MessageBoxWatcher watcher(IDOK, {}, run.Id());
    ASSERT_EQ(watcher.WaitForBoxes(1).size(), 1u);
    const HWND window = UpdaterFixture::VisibleWindow(run.Id());
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(run.Ended());

    const std::vector<std::string> expected = {
        std::string(",\xA1\xBC") + "a.txt" + NoticeClose,
        ",Cannot open file \"" + app.Folder() + "Update\\c.txt\". " + SystemErrorText(ERROR_FILE_NOT_FOUND),
        std::string("b.zip") + ExtractionFailed,
    };
    EXPECT_EQ(RecordsAfterStamps(app.Read("UpLog.dat")), expected);
}

// A staged log installed over the log, device names and a missing file: the run goes on to its end, every
// device entry is refused as an entry error, and the records of earlier runs stay below the new ones.
TEST_F(UpdateExeTest, StagedLogAndDeviceNamesKeepEveryRecordAndTheRunGoesOn)
{
    const std::vector<std::string> devices = {"NUL", "AUX", "COM1", "com1.dat", "CON", "Sub\\CON", "nul_txt.zip"};
    std::vector<std::string> manifest = {"UpLog.dat"};
    manifest.insert(manifest.end(), devices.begin(), devices.end());
    manifest.insert(manifest.end(), {"c.txt", "good.txt"});
    app.WriteManifest(manifest);
    app.Write("UpLog.dat", "earlier run\r\n");
    app.Write("Update\\UpLog.dat", "staged line\r\n");
    app.Write("Update\\good.txt", "good");
    app.Write("QeltoU2.dat", "staged");

    StartedProcess run = app.Start("-UR");

    ASSERT_TRUE(run.Ended());
    EXPECT_EQ(run.ExitCode(), 0u);
    EXPECT_EQ(app.Read("good.txt"), "good");
    EXPECT_EQ(app.Read("QeltoUp.dat"), "staged") << "the version files rotate";
    EXPECT_EQ(app.ClientStartsOnceThereAre(1).size(), 1u) << "the client is relaunched";
    EXPECT_FALSE(app.Exists("Sub")) << "nothing of a refused entry is made";
    std::vector<std::string> expected = {
        ",Cannot open file \"" + app.Folder() + "Update\\c.txt\". " + SystemErrorText(ERROR_FILE_NOT_FOUND)};
    for (auto device = devices.rbegin(); device != devices.rend(); ++device)
        expected.push_back(",Refused unsafe entry \"" + *device + "\": ");
    expected.push_back("<no stamp>earlier run");
    std::vector<std::string> records = RecordsAfterStamps(app.Read("UpLog.dat"));
    for (std::size_t i = 1; i + 1 < records.size(); ++i)
        records[i] = records[i].substr(0, records[i].find(": ") + 2);
    EXPECT_EQ(records, expected);
}

// A staged log installed over the log and nothing recorded after it: the records of earlier runs stay
// below the staged lines, as the next run would fold them back, and nothing of ours is left.
TEST_F(UpdateExeTest, ACleanRunThatInstallsAStagedLogKeepsTheRecordsOfEarlierRuns)
{
    app.WriteManifest({"UpLog.dat", "readme.txt"});
    app.Write("UpLog.dat", "2008/5/7 9:05:03,OLD RECORD\r\n");
    app.Write("Update\\UpLog.dat", "STAGED LOG\r\n");
    app.Write("Update\\readme.txt", "readme");
    app.Write("QeltoU2.dat", "staged");

    StartedProcess run = app.Start("-UR");

    ASSERT_TRUE(run.Ended());
    EXPECT_EQ(run.ExitCode(), 0u);
    EXPECT_EQ(app.Read("readme.txt"), "readme");
    EXPECT_EQ(app.ClientStartsOnceThereAre(1).size(), 1u) << "the client is relaunched";
    EXPECT_EQ(app.Read("UpLog.dat"), "STAGED LOG\r\n2008/5/7 9:05:03,OLD RECORD\r\n");
    EXPECT_FALSE(app.Exists("Update\\~upd")) << "nothing of ours is left";
}

// Targets at the path limit install, since our temporaries never lengthen a target's path: a plain
// target of 252 characters and an archive target whose staged archive has 259 (the most an ANSI path
// may have), each with a short name in a long, existing folder.
TEST_F(UpdateExeTest, TargetsNearThePathLimitInstall)
{
    const std::size_t folderLength = app.Folder().size();
    const std::string plainFolder(246 - folderLength, 'p');
    const std::string archiveFolder(242 - folderLength, 'z');
    for (const std::string& folder : {plainFolder, archiveFolder}) {
        ASSERT_TRUE(CreateDirectoryA((app.Folder() + folder).c_str(), nullptr));
        const std::wstring staged = L"\\\\?\\" + WideText(app.Folder() + "Update\\" + folder, CP_ACP);
        ASSERT_TRUE(CreateDirectoryW(staged.c_str(), nullptr)) << "longer than CreateDirectoryA allows";
    }
    const std::string plain = plainFolder + "\\a.txt";
    const std::string archive = archiveFolder + "\\a_dat.zip";
    app.WriteManifest({plain, archive});
    app.Write("Update\\" + plain, "new plain");
    app.Write(plain, "old plain");
    ASSERT_TRUE(CopyFileA(FixturePath("zip/Stored.zip").c_str(), (app.Folder() + "Update\\" + archive).c_str(), FALSE));
    ASSERT_EQ((app.Folder() + plain).size(), 252u);
    ASSERT_EQ((app.Folder() + "Update\\" + archive).size(), 259u);

    StartedProcess run = app.Start("-UR");

    ASSERT_TRUE(run.Ended());
    EXPECT_EQ(app.Read(plain), "new plain");
    EXPECT_EQ(app.Read(archiveFolder + "\\a.dat"), "stored member\r\n");
    EXPECT_FALSE(app.Exists("UpLog.dat")) << "no failure recorded";
}

TEST_F(UpdateExeTest, ProgramFileWithSeveralDotsGetsTheTitleBeforeTheFirstDot)
{
    UpdaterFixture dotted("Up.Date.exe");
    StartedProcess run = dotted.Start("-UR");
    MessageBoxWatcher watcher(IDOK, {}, run.Id());

    ASSERT_EQ(watcher.WaitForBoxes(1).size(), 1u);
    EXPECT_EQ(watcher.Seen()[0].caption, "Up");
    const HWND window = UpdaterFixture::VisibleWindow(run.Id());
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(run.Ended());
}

TEST_F(UpdateExeTest, ClientsWhoseNamesDifferInLetterCaseAreAllEnded)
{
    CreateDirectoryA((app.Folder() + "other").c_str(), nullptr);
    StartedProcess first = app.StartClient("QeltoExam.exe");
    StartedProcess second = app.StartClient("other\\QELTOEXAM.EXE");

    StartedProcess run = app.Start("");

    ASSERT_TRUE(run.Ended());
    EXPECT_TRUE(first.Ended());
    EXPECT_TRUE(second.Ended());
}

TEST_F(UpdateExeTest, StartedMinimisedWithoutSwitchShowsNothingLeavesTheClientAndEnds)
{
    StartedProcess client = app.StartClient("QeltoExam.exe");

    StartedProcess run = app.Start("", SW_SHOWMINNOACTIVE);

    ASSERT_TRUE(run.Ended());
    EXPECT_EQ(run.ExitCode(), 0u);
    EXPECT_TRUE(app.Showings().empty());
    EXPECT_FALSE(client.Ended(0)) << "the show sequence never ran";
}

TEST_F(UpdateExeTest, StartedMaximisedShowsTheWindowMaximised)
{
    StartedProcess run = app.Start("", SW_SHOWMAXIMIZED);

    ASSERT_TRUE(run.Ended());
    const auto showings = app.Showings();
    ASSERT_EQ(showings.size(), 1u);
    EXPECT_TRUE(showings[0].zoomed);
}

// Whether a command line selects the update run: one staged file, installed only by an update run.
struct SwitchCase {
    const char* arguments;
    bool updates;
};

void PrintTo(const SwitchCase& switchCase, std::ostream* out)
{
    *out << "[" << switchCase.arguments << "]";
}

class UpdateExeSwitchTest : public testing::TestWithParam<SwitchCase> {
protected:
    UpdaterFixture app;
};

TEST_P(UpdateExeSwitchTest, SelectsTheUpdateRunOnlyForTheWholeArgumentInAnyCase)
{
    app.WriteManifest({"a.txt"});
    app.Write("Update\\a.txt", "new");

    StartedProcess run = app.Start(GetParam().arguments);

    ASSERT_TRUE(run.Ended());
    EXPECT_EQ(app.Exists("a.txt"), GetParam().updates);
    EXPECT_EQ(app.ClientStartsOnceThereAre(GetParam().updates ? 1 : 0).size(), GetParam().updates ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Arguments, UpdateExeSwitchTest,
                         testing::Values(SwitchCase{"-ur", true}, SwitchCase{"-Ur", true}, SwitchCase{"\"-UR\"", true},
                                         SwitchCase{"-UR -UR", true}, SwitchCase{"other words -UR", true},
                                         SwitchCase{"/UR", false}, SwitchCase{"-UR1", false},
                                         SwitchCase{"--UR", false}));

} // namespace
