// Update.exe killed at random moments of a many-file update (plain files, archive entries, and entries
// whose staged file is missing, so that the log is saved again and again): every target holds its old or
// its new bytes, the log keeps its old records, and the next, complete run installs everything and leaves
// no temporary anywhere. The kill moments come from a fixed seed, spread over the time one run takes to
// install every file. And two appliers started a few milliseconds apart in the same folder: one works
// while the other ends at once, or they work one after the other; a killed one keeps no later one out.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "common/HandlesWin32.h"
#include "common/TemporariesWin32.h"
#include "common/WideTextWin32.h"
#include "support/FixturePath.h"
#include "support/MessageBoxWatcher.h"
#include "support/ScratchFolder.h"
#include "support/UpdaterRun.h"

namespace {

const int kPlainEntries = 60;
const int kArchiveEntries = 8;
const int kMissingEvery = 15;
const int kKills = 12;
const unsigned kSeed = 20261210;
const DWORD kRunTimeoutMs = 60000;
const char kOldRecord[] = "old record\r\n";
const DWORD kStartGapsMs[] = {0, 0, 2, 5, 10, 20, 40};

struct Target {
    std::string relative;
    std::string oldBytes;
    std::string newBytes;
};

// Bytes of a few to a few dozen KiB, different for every file, so that a cut-off copy shows.
std::string Filler(const std::string& tag, int index)
{
    return tag + std::string(4096 + (index * 7919) % 32768, static_cast<char>('a' + index % 26));
}

// The names in the temporaries folder that start with one of the process ids.
std::vector<std::string> TemporariesOf(const std::string& folder, const std::vector<DWORD>& processes)
{
    const std::wstring temporaries = TemporariesFolderOf(WideText(folder, CP_ACP));
    std::vector<std::string> left;
    WIN32_FIND_DATAW found{};
    const FindHandle find(FindFirstFileW((temporaries + L"*").c_str(), &found));
    for (bool more = find.Valid(); more; more = FindNextFileW(find.Get(), &found) != 0)
        for (DWORD process : processes)
            if (std::wstring(found.cFileName).rfind(std::to_wstring(process) + L"-", 0) == 0)
                left.push_back(std::to_string(process));
    return left;
}

// Polls until done() holds or the run has ended, for at most the time a run may take.
template <typename Done>
void PollUntil(const StartedProcess& run, Done done)
{
    const ULONGLONG start = GetTickCount64();
    while (!done() && !run.Ended(10) && GetTickCount64() - start < kRunTimeoutMs) {
    }
}

class UpdateExeKillTest : public testing::Test {
protected:
    void SetUp() override
    {
        CreateDirectoryA((app.Folder() + "sub").c_str(), nullptr);
        CreateDirectoryA((app.Folder() + "Update\\sub").c_str(), nullptr);
        std::vector<std::string> manifest;
        for (int i = 0; i < kPlainEntries; ++i) {
            const std::string name = (i % 2 ? "sub\\f" : "f") + std::to_string(i) + ".bin";
            targets.push_back({name, Filler("old " + name, i), Filler("new " + name, i + 1)});
            app.Write("Update\\" + name, targets.back().newBytes);
            manifest.push_back(name);
            if (i % kMissingEvery == 0)
                manifest.push_back("missing" + std::to_string(i) + ".txt");
        }
        const std::string archive = FixturePath("zip/Deflated.zip");
        std::string extracted;
        for (int line = 0; line < 400; ++line)
            extracted += "exam client build 2\n"; // the one member of Deflated.zip (tools/MakeZipFixtures.py)
        for (int i = 0; i < kArchiveEntries; ++i) {
            const std::string entry = "z" + std::to_string(i) + "_dat.zip";
            CopyFileA(archive.c_str(), (app.Folder() + "Update\\" + entry).c_str(), FALSE);
            targets.push_back({"z" + std::to_string(i) + ".dat", Filler("old archive", i), extracted});
            manifest.insert(manifest.begin() + i * 9, entry);
        }
        app.WriteManifest(manifest);
        std::copy_if(manifest.begin(), manifest.end(), std::back_inserter(missing),
                     [](const std::string& entry) { return entry.rfind("missing", 0) == 0; });
        missingEntries = static_cast<int>(missing.size());
    }

    std::size_t SizeOf(const std::string& relative) const
    {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        GetFileAttributesExA((app.Folder() + relative).c_str(), GetFileExInfoStandard, &data);
        return data.nFileSizeLow;
    }

    void PutOldFiles() const
    {
        for (const Target& target : targets)
            app.Write(target.relative, target.oldBytes);
        app.Write("UpLog.dat", kOldRecord);
    }

    void PutVersionFiles() const
    {
        app.Write("QeltoUp.bak", "backup");
        app.Write("QeltoUp.dat", "current");
        app.Write("QeltoU2.dat", "staged");
    }

    // The version files as `rotations` rotations one after the other leave them.
    void ExpectVersionFilesRotated(int rotations) const
    {
        const std::string missing = "<unreadable>";
        const std::vector<std::string> expected[] = {
            {"backup", "current", "staged"}, {"current", "staged", missing}, {"staged", missing, missing}};
        ASSERT_LT(rotations, 3);
        EXPECT_EQ((std::vector<std::string>{app.Read("QeltoUp.bak"), app.Read("QeltoUp.dat"), app.Read("QeltoU2.dat")}),
                  expected[rotations])
            << rotations << " rotation(s)";
    }

    // The number of runs whose records the log holds above its old record. Each run records its missing
    // entries, the last one first, in one block: a block cut short or two interleaved fail.
    int RunsLogged() const
    {
        const std::string log = app.Read("UpLog.dat");
        std::vector<std::string> lines;
        for (std::size_t start = 0, end; (end = log.find("\r\n", start)) != std::string::npos; start = end + 2)
            lines.push_back(log.substr(start, end - start));
        if (lines.empty() || lines.back() + "\r\n" != kOldRecord) {
            ADD_FAILURE() << "the log lost its old record: " << log;
            return -1;
        }
        lines.pop_back();
        EXPECT_EQ(lines.size() % missing.size(), 0u) << "whole runs only: " << log;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const std::string& entry = missing[missing.size() - 1 - i % missing.size()];
            EXPECT_NE(lines[i].find("\\" + entry + "\""), std::string::npos) << "line " << i << ": " << lines[i];
        }
        return static_cast<int>(lines.size() / missing.size());
    }

    // What every run that worked leaves: every target new, the version files rotated once per run, one
    // relaunch of the client per run, and no temporary.
    void ExpectRunsWorked(int worked, std::size_t clientStartsBefore) const
    {
        EXPECT_EQ(NewTargets(), static_cast<int>(targets.size()));
        ExpectVersionFilesRotated(worked);
        EXPECT_EQ(app.ClientStartsOnceThereAre(clientStartsBefore + worked).size(), clientStartsBefore + worked)
            << "one relaunch per run";
        EXPECT_FALSE(app.Exists("Update\\~upd")) << "no temporary left";
    }

    // Starts a run and kills it after `milliseconds` unless it has ended by then; true when it ended.
    bool RunFor(DWORD milliseconds)
    {
        StartedProcess run = app.Start("-UR");
        runs.push_back(run.Id());
        return run.Ended(milliseconds);
    }

    // Runs to the end; gives the time it took until the last plain entry, the manifest's last file, was
    // installed. The target's size tells, since opening it would make the copy fail.
    DWORD InstallLength()
    {
        const Target& last = targets[kPlainEntries - 1];
        const ULONGLONG start = GetTickCount64();
        StartedProcess run = app.Start("-UR");
        runs.push_back(run.Id());
        PollUntil(run, [&] { return SizeOf(last.relative) == last.newBytes.size(); });
        const DWORD length = static_cast<DWORD>(GetTickCount64() - start);
        EXPECT_TRUE(run.Ended(kRunTimeoutMs));
        return length;
    }

    // The number of targets holding their new bytes; every other must hold its old bytes.
    int NewTargets() const
    {
        int updated = 0;
        for (const Target& target : targets) {
            const std::string bytes = app.Read(target.relative);
            EXPECT_TRUE(bytes == target.oldBytes || bytes == target.newBytes)
                << target.relative << " holds " << bytes.size() << " bytes that are neither old nor new";
            updated += bytes == target.newBytes;
        }
        const std::string log = app.Read("UpLog.dat");
        EXPECT_TRUE(log.size() >= sizeof kOldRecord - 1 && log.compare(log.size() - (sizeof kOldRecord - 1),
                                                                        std::string::npos, kOldRecord) == 0)
            << "the log lost its old record: " << log;
        return updated;
    }

    // What the application folder holds after a complete run: programs, staged files, targets and log;
    // the temporaries folder in the staging folder is not among them.
    std::set<std::string> ExpectedFiles() const
    {
        std::set<std::string> files = {"Update.exe", "TkZip.dll", "QeltoExam.exe", "UpLog.dat"};
        for (const std::string& staged : ScratchFolder::FilesBelow(app.Folder(), "Update\\"))
            files.insert(staged);
        for (auto file = files.begin(); file != files.end();)
            file = file->rfind("Update\\~upd\\", 0) == 0 ? files.erase(file) : std::next(file);
        for (const Target& target : targets)
            files.insert(target.relative);
        return files;
    }

    UpdaterFixture app;
    std::vector<Target> targets;
    std::vector<DWORD> runs;
    std::vector<std::string> missing; // the missing entries, in the manifest's order
    int missingEntries = 0;
};

TEST_F(UpdateExeKillTest, EveryTargetIsOldOrNewAfterAnyKillAndTheNextRunLeavesNoTemporary)
{
    PutOldFiles();
    const DWORD installLength = InstallLength();

    std::mt19937 random(kSeed);
    int killedMidUpdate = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        PutOldFiles();
        const DWORD moment = installLength * (kill * 1000 + random() % 1000) / (kKills * 1000);
        const bool ended = RunFor(moment);
        const int updated = NewTargets();
        killedMidUpdate += !ended && updated > 0 && updated < static_cast<int>(targets.size());
    }
    std::printf("installing took %lu ms; %d kills, %d of them mid-update\n", installLength, kKills, killedMidUpdate);

    PutOldFiles();
    ASSERT_TRUE(RunFor(kRunTimeoutMs)) << "the next, complete run";
    EXPECT_EQ(NewTargets(), static_cast<int>(targets.size()));
    const std::string log = app.Read("UpLog.dat");
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), missingEntries + 1) << "one record per missing file";
    const std::vector<std::string> found = ScratchFolder::FilesBelow(app.Folder());
    const std::set<std::string> files(found.begin(), found.end());
    EXPECT_EQ(files, ExpectedFiles()) << "nothing of ours in the application folder";
    EXPECT_TRUE(TemporariesOf(app.Folder(), runs).empty()) << "no temporary of any run";
}

// Started a few milliseconds apart, round after round: either one applier works and the other ends at
// once, or the second starts once the first is over and works after it. Never do the two interleave.
TEST_F(UpdateExeKillTest, TwoAppliersStartedAtOnceWorkAloneOrOneAfterTheOther)
{
    for (const DWORD gap : kStartGapsMs) {
        PutOldFiles();
        PutVersionFiles();
        const std::size_t clientStarts = app.ClientStarts().size();
        {
            const StartedProcess first = app.Start("-UR");
            Sleep(gap);
            const StartedProcess second = app.Start("-UR");
            runs.insert(runs.end(), {first.Id(), second.Id()});
            ASSERT_TRUE(first.Ended(kRunTimeoutMs) && second.Ended(kRunTimeoutMs)) << "started " << gap << " ms apart";
            EXPECT_EQ(first.ExitCode(), 0u);
            EXPECT_EQ(second.ExitCode(), 0u);
        }
        const int worked = RunsLogged();
        EXPECT_TRUE(worked == 1 || worked == 2) << worked << " runs, started " << gap << " ms apart";
        if (worked == 1 || worked == 2)
            ExpectRunsWorked(worked, clientStarts);
        std::printf("started %lu ms apart: %d run(s) worked\n", gap, worked);
    }
}

// Killed once its first record is saved, an applier holds its lock no more: the next one works.
TEST_F(UpdateExeKillTest, AKilledApplierKeepsNoLaterOneOut)
{
    PutOldFiles();
    PutVersionFiles();
    const std::size_t clientStarts = app.ClientStarts().size();
    bool firstEndedItself = false;
    {
        const StartedProcess first = app.Start("-UR");
        runs.push_back(first.Id());
        // Watched by its size: a log this test held open, even for reading, would make the save fail.
        PollUntil(first, [&] { return SizeOf("UpLog.dat") > sizeof kOldRecord - 1; });
        firstEndedItself = first.Ended(0);
        ASSERT_TRUE(firstEndedItself || SizeOf("UpLog.dat") > sizeof kOldRecord - 1)
            << "the first run neither recorded anything nor ended";
    } // killed here, unless it ended
    const StartedProcess next = app.Start("-UR");
    runs.push_back(next.Id());
    ASSERT_TRUE(next.Ended(kRunTimeoutMs));
    EXPECT_EQ(next.ExitCode(), 0u);

    const std::string log = app.Read("UpLog.dat");
    const std::size_t lines = static_cast<std::size_t>(std::count(log.begin(), log.end(), '\n'));
    EXPECT_GE(lines, missing.size() + 2) << "the next run's records above the killed one's";
    ExpectRunsWorked(firstEndedItself ? 2 : 1, clientStarts);
    EXPECT_TRUE(TemporariesOf(app.Folder(), runs).empty());
}

} // namespace

namespace {

// Killed while the notice of a copy failure is up, after an entry installed a staged log and before the
// record was saved: the staged log went in with the earlier records below its lines, so the log holds both
// at once, and the next run, finding the kept name left, sees the log end with its lines and clears it away
// without adding them twice.
TEST(UpdateExeKilledAtNoticeTest, AStagedLogInstalledBeforeAKillHoldsTheEarlierRecordsOnce)
{
    UpdaterFixture app;
    app.Write("UpLog.dat", "earlier run\r\n");
    app.Write("Update\\UpLog.dat", "staged line\r\n");
    app.Write("ro.txt", "old");
    ASSERT_TRUE(SetFileAttributesA((app.Folder() + "ro.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    app.Write("Update\\ro.txt", "new");
    app.WriteManifest({"UpLog.dat", "ro.txt"});
    std::vector<DWORD> runs;
    {
        const StartedProcess first = app.Start("-UR");
        runs.push_back(first.Id());
        const MessageBoxWatcher killAtNotice(IDOK, [&](const SeenMessageBox&) {
            const KernelHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, first.Id()));
            TerminateProcess(process.Get(), 1);
            WaitForSingleObject(process.Get(), kRunTimeoutMs);
        }, first.Id());
        ASSERT_EQ(killAtNotice.WaitForBoxes(1, kRunTimeoutMs).size(), 1u);
        ASSERT_TRUE(first.Ended());
    }
    ASSERT_EQ(app.Read("UpLog.dat"), "staged line\r\nearlier run\r\n") << "killed before its record was saved";
    SetFileAttributesA((app.Folder() + "ro.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    app.WriteManifest({});

    const StartedProcess next = app.Start("-UR");
    runs.push_back(next.Id());
    ASSERT_TRUE(next.Ended(kRunTimeoutMs));

    EXPECT_EQ(app.Read("UpLog.dat"), "staged line\r\nearlier run\r\n");
    EXPECT_TRUE(TemporariesOf(app.Folder(), runs).empty());
}

// Logs left under kept names by two killed runs whose folds could not be saved: the next run folds them
// back newest first, by when their files were last written (not by their process ids, nor the folder's
// order), so that the oldest records end up lowest, and removes both.
TEST(UpdateExeKilledAtNoticeTest, SeveralLeftLogsAreFoldedBackNewestFirst)
{
    DWORD ended[2] = {};
    for (DWORD& id : ended) {
        const StartedProcess sleeper = StartSleeper();
        id = sleeper.Id();
    }
    for (const bool lowerIdIsNewer : {false, true}) {
        SCOPED_TRACE(lowerIdIsNewer);
        UpdaterFixture app;
        const std::string temporaries = app.Folder() + "Update\\~upd\\";
        ASSERT_TRUE(CreateDirectoryA(temporaries.c_str(), nullptr));
        const DWORD newer = lowerIdIsNewer ? std::min(ended[0], ended[1]) : std::max(ended[0], ended[1]);
        const DWORD older = lowerIdIsNewer ? std::max(ended[0], ended[1]) : std::min(ended[0], ended[1]);
        const struct {
            DWORD processId;
            const char* bytes;
            WORD year;
        } left[] = {{newer, "staged 1\r\n", 2020}, {older, "oldest\r\n", 2010}};
        for (const auto& l : left) {
            const std::string path = temporaries + NarrowText(KeptName(l.processId, 1), CP_ACP);
            app.Write(path.substr(app.Folder().size()), l.bytes);
            const SYSTEMTIME time = {l.year, 1, 0, 1, 0, 0, 0, 0};
            FILETIME written{};
            ASSERT_TRUE(SystemTimeToFileTime(&time, &written));
            const FileHandle file(CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
            ASSERT_TRUE(SetFileTime(file.Get(), nullptr, nullptr, &written));
        }
        app.Write("UpLog.dat", "staged 2\r\n");
        app.WriteManifest({});

        const StartedProcess next = app.Start("-UR");
        ASSERT_TRUE(next.Ended(kRunTimeoutMs));

        EXPECT_EQ(app.Read("UpLog.dat"), "staged 2\r\nstaged 1\r\noldest\r\n");
        EXPECT_FALSE(app.Exists("Update\\~upd"));
    }
}

} // namespace
