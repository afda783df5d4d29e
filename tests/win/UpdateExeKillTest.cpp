// Update.exe killed at random moments of a many-file update (plain files, archive entries, and entries
// whose staged file is missing, so that the log is saved again and again): every target holds its old or
// its new bytes, the log keeps its old records, and the next, complete run installs everything and leaves
// no temporary anywhere. The kill moments come from a fixed seed, spread over the time one run takes to
// install every file.
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
#include "support/UpdaterRun.h"

namespace {

const int kPlainEntries = 60;
const int kArchiveEntries = 8;
const int kMissingEvery = 15;
const int kKills = 12;
const unsigned kSeed = 20261210;
const DWORD kRunTimeoutMs = 60000;
const char kOldRecord[] = "old record\r\n";

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

// Every file under the folder, as relative paths.
void CollectFiles(const std::string& folder, const std::string& prefix, std::set<std::string>& files)
{
    WIN32_FIND_DATAA found{};
    const FindHandle find(FindFirstFileA((folder + prefix + "*").c_str(), &found));
    for (bool more = find.Valid(); more; more = FindNextFileA(find.Get(), &found) != 0) {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            CollectFiles(folder, prefix + name + "\\", files);
        else
            files.insert(prefix + name);
    }
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
        missingEntries = static_cast<int>(std::count_if(manifest.begin(), manifest.end(), [](const std::string& entry) {
            return entry.rfind("missing", 0) == 0;
        }));
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
        while (SizeOf(last.relative) != last.newBytes.size() && !run.Ended(10)) {
        }
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
        CollectFiles(app.Folder(), "Update\\", files);
        for (auto file = files.begin(); file != files.end();)
            file = file->rfind("Update\\~upd\\", 0) == 0 ? files.erase(file) : std::next(file);
        for (const Target& target : targets)
            files.insert(target.relative);
        return files;
    }

    UpdaterFixture app;
    std::vector<Target> targets;
    std::vector<DWORD> runs;
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
    std::set<std::string> files;
    CollectFiles(app.Folder(), "", files);
    EXPECT_EQ(files, ExpectedFiles()) << "nothing of ours in the application folder";
    EXPECT_TRUE(TemporariesOf(app.Folder(), runs).empty()) << "no temporary of any run";
}

} // namespace
