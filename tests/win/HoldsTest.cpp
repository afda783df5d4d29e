// Another program's moment's hold on a file, outlasted wherever an update run may meet one, on real files
// under Wine; and what each of the run's calls gives for a hold and for the refusals that are none. Every
// test runs in a process of its own (ctest), so each starts with its modules' whole budget; a file held for
// good, the failure as before, is shown by the tests of each operation.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "archive/ProZipBinding.h"
#include "common/HandlesWin32.h"
#include "common/HoldsWin32.h"
#include "common/ReplacementFileWin32.h"
#include "common/TemporariesWin32.h"
#include "common/UnitPublic.h"
#include "common/WideTextWin32.h"
#include "support/FileHold.h"
#include "support/FixturePath.h"
#include "support/KeptBytes.h"
#include "support/ScratchFolder.h"
#include "update/CopiesAheadWin32.h"
#include "update/FileStoreWin32.h"
#include "update/UpdateFilesWin32.h"

namespace {

// How long a moment's hold lasts here: longer than several of the first pauses.
const DWORD kMomentMs = 400;

} // namespace

TEST(HoldsTest, AMomentsHoldIsOutlastedByEveryOperationThatMayMeetOne)
{
    FileStoreWin32 store;
    UpdateFilesWin32 files;
    const struct {
        const char* name;
        const char* held; // in the scratch folder, holding "old" unless it is the source, "new"
        std::function<bool(const std::string& folder)> operation;
        const char* resultFile; // what holds "new" afterwards, when the operation writes
    } cases[] = {
        {"the staged source of a copy", "source.txt",
         [](const std::string& f) { return CopyFileByStream(f + "source.txt", f + "target.txt"); }, "target.txt"},
        {"the target of a copy", "target.txt",
         [](const std::string& f) { return CopyFileByStream(f + "source.txt", f + "target.txt"); }, "target.txt"},
        {"the target of an archive member", "readme.txt",
         [](const std::string& f) {
             return CallProZip(FixturePath("zip/Stored.zip"), f + "readme.txt", 1) != -1 &&
                    ScratchFolder::Read(f + "readme.txt") == "stored member\r\n";
         },
         nullptr},
        {"the manifest, read", "UpFile.Dat",
         [&](const std::string& f) { return store.ReadWholeFile(f + "UpFile.Dat") == "old"; }, nullptr},
        {"the log, kept at the start", "UpLog.dat",
         [&](const std::string& f) { return ReadKept(*store.KeepFile(f + "UpLog.dat")) == "old"; }, nullptr},
        {"the log, saved", "UpLog.dat",
         [&](const std::string& f) {
             BytesInOnePiece bytes("new");
             store.SaveFile(f + "UpLog.dat", bytes);
             return true;
         },
         "UpLog.dat"},
        {"the version file, renamed", "QeltoUp.dat",
         [&](const std::string& f) { return files.RenameFile(f + "QeltoUp.dat", f + "QeltoUp.bak"); }, nullptr},
        {"the backup version file, removed", "QeltoUp.bak",
         [&](const std::string& f) { return files.RemoveFile(f + "QeltoUp.bak"); }, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder("Holds");
        const std::string f = folder.Path();
        ASSERT_TRUE(ScratchFolder::Write(f + c.held, "old"));
        ASSERT_TRUE(ScratchFolder::Write(f + "source.txt", "new"));
        {
            const TemporariesScope run;
            FileHold hold(f + c.held);
            ASSERT_TRUE(hold);
            hold.LetGoLater([] {}, kMomentMs);

            bool done = false;
            EXPECT_NO_THROW(done = c.operation(f));
            EXPECT_TRUE(done);
        }
        if (c.resultFile != nullptr) {
            EXPECT_EQ(ScratchFolder::Read(f + c.resultFile), "new");
        }
    }
    EXPECT_GT(ModuleHoldBudget().SpentMs(), 0u) << "the holds were met";
}

// A save reads the log of the run's start again, under a second name of the same file: a hold on the file
// by its own name is met there too.
TEST(HoldsTest, TheKeptLogIsReadAgainPastAMomentsHold)
{
    ScratchFolder folder("HoldsKept");
    const std::string log = folder.Path() + "UpLog.dat";
    ASSERT_TRUE(ScratchFolder::Write(log, "old"));
    const TemporariesScope run;
    FileStoreWin32 store;
    const std::unique_ptr<KeptFile> kept = store.KeepFile(log);
    FileHold hold(log);
    ASSERT_TRUE(hold);
    hold.LetGoLater([] {}, kMomentMs);

    EXPECT_EQ(ReadKept(*kept), "old");
}

// One copy waits within one bound, however many of its files are held: its source held for most of the
// bound is waited for, and the target held for good then gets what is left, not a bound of its own.
TEST(HoldsTest, OneCopyWaitsWithinOneBoundHoweverManyOfItsFilesAreHeld)
{
    ScratchFolder folder("HoldsOneBound");
    const std::string f = folder.Path();
    ASSERT_TRUE(ScratchFolder::Write(f + "source.txt", "new"));
    ASSERT_TRUE(ScratchFolder::Write(f + "target.txt", "old"));
    const TemporariesScope run;
    FileHold source(f + "source.txt");
    std::optional<FileHold> target(std::in_place, f + "target.txt");
    ASSERT_TRUE(source && *target);
    source.LetGoLater([] {}, kHoldBounds.perOperationMs * 5 / 6);

    EXPECT_FALSE(CopyFileByStream(f + "source.txt", f + "target.txt"));
    target.reset();
    EXPECT_EQ(ScratchFolder::Read(f + "target.txt"), "old");
    EXPECT_GT(ModuleHoldBudget().SpentMs(), 0u) << "the source was waited for";
    EXPECT_LE(ModuleHoldBudget().SpentMs(), kHoldBounds.perOperationMs);
}

// A replacement that is not committed (a copy dropped) is removed as it goes; a scanner that looks at the
// new file just then refuses that, and the clearing at the run's end removes it past the hold.
TEST(HoldsTest, OurTemporaryHeldWhenItIsRemovedIsGoneWhenTheRunEnds)
{
    ScratchFolder folder("HoldsDropped");
    const std::wstring temporaries = TemporariesFolder();
    const std::wstring ours = temporaries + std::to_wstring(GetCurrentProcessId()) + L"-*.tmp";
    std::optional<FileHold> hold; // lets go on its own, after the run has begun to end
    {
        const TemporariesScope run;
        {
            ReplacementFile dropped(WideText(folder.Path() + "target.txt", CP_ACP));
            ASSERT_TRUE(dropped.Write("new", 3) && dropped.Flush());
            WIN32_FIND_DATAW found{};
            const FindHandle find(FindFirstFileW(ours.c_str(), &found));
            ASSERT_TRUE(find);
            hold.emplace(NarrowText(temporaries + found.cFileName, CP_ACP));
            ASSERT_TRUE(*hold);
            hold->LetGoLater([] {}, kMomentMs);
        }
        WIN32_FIND_DATAW found{};
        EXPECT_TRUE(FindHandle(FindFirstFileW(ours.c_str(), &found))) << "its removal was refused";
    }
    WIN32_FIND_DATAW found{};
    EXPECT_FALSE(FindHandle(FindFirstFileW(ours.c_str(), &found))) << "nothing of ours is left";
}

// A copy written ahead never waits on its worker: a held source fails there at once, and the copy made in
// turn is the one that waits.
TEST(HoldsTest, ACopyWrittenAheadDoesNotWaitForAHold)
{
    ScratchFolder folder("HoldsAhead");
    const std::string source = folder.Path() + "source.txt";
    ASSERT_TRUE(ScratchFolder::Write(source, "new"));
    const TemporariesScope run;
    FileHold hold(source);
    ASSERT_TRUE(hold);
    CopiesAhead ahead(CopiesAhead::WriteAhead);
    ahead.Announce(source, folder.Path() + "target.txt");

    const std::optional<CopyAhead> taken = ahead.Take(source, folder.Path() + "target.txt");

    ASSERT_TRUE(taken);
    EXPECT_TRUE(taken->error);
    EXPECT_EQ(ModuleHoldBudget().SpentMs(), 0u);
}

// What each call of the run gives under this Wine: a hold is a sharing violation; a folder, a missing file
// and a new name that exists are refused otherwise, and are no hold. (A read-only target is refused by our
// own check of its attribute, as ERROR_ACCESS_DENIED: as root Wine opens it for writing.)
TEST(HoldsTest, OnlyARefusalForSharingOrALockedRangeIsAHold)
{
    ScratchFolder folder("HoldsErrors");
    const std::string f = folder.Path();
    ASSERT_TRUE(ScratchFolder::Write(f + "held", "x"));
    ASSERT_TRUE(ScratchFolder::Write(f + "other", "x"));
    ASSERT_TRUE(ScratchFolder::Write(f + "spare", "x"));
    ASSERT_TRUE(CreateDirectoryA((f + "folder").c_str(), nullptr));
    FileHold hold(f + "held");
    ASSERT_TRUE(hold);
    const auto opens = [&](DWORD access, DWORD share) {
        return [=](const std::string& name) {
            const FileHandle file(CreateFileA((f + name).c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr));
            return file.Valid();
        };
    };
    const struct {
        const char* call;
        std::function<bool(const std::string&)> attempt;
        const char* name;
        DWORD error;
    } cases[] = {
        {"opening a staged source", opens(GENERIC_READ, 0), "held", ERROR_SHARING_VIOLATION},
        {"opening a staged source", opens(GENERIC_READ, 0), "folder", ERROR_ACCESS_DENIED},
        {"opening a staged source", opens(GENERIC_READ, 0), "missing", ERROR_FILE_NOT_FOUND},
        {"opening a target to replace", opens(GENERIC_WRITE | READ_CONTROL, 0), "held", ERROR_SHARING_VIOLATION},
        {"opening a target to replace", opens(GENERIC_WRITE | READ_CONTROL, 0), "folder", ERROR_ACCESS_DENIED},
        {"reading the manifest or the log", opens(GENERIC_READ, FILE_SHARE_READ), "held", ERROR_SHARING_VIOLATION},
        {"reading the manifest or the log", opens(GENERIC_READ, FILE_SHARE_READ), "folder", ERROR_ACCESS_DENIED},
        {"probing the log", opens(GENERIC_READ | GENERIC_WRITE, 0), "held", ERROR_SHARING_VIOLATION},
        {"renaming", [&](const std::string& n) { return MoveFileA((f + n).c_str(), (f + "new").c_str()) != 0; },
         "held", ERROR_SHARING_VIOLATION},
        {"renaming onto a name that exists",
         [&](const std::string& n) { return MoveFileA((f + n).c_str(), (f + "other").c_str()) != 0; }, "spare",
         ERROR_ALREADY_EXISTS},
        {"removing", [&](const std::string& n) { return DeleteFileA((f + n).c_str()) != 0; }, "held",
         ERROR_SHARING_VIOLATION},
        {"removing", [&](const std::string& n) { return DeleteFileA((f + n).c_str()) != 0; }, "folder",
         ERROR_ACCESS_DENIED},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.call) + ", " + c.name);
        EXPECT_FALSE(c.attempt(c.name));
        const DWORD error = GetLastError();
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(IsHold(error), c.error == ERROR_SHARING_VIOLATION);
    }
    EXPECT_TRUE(IsHold(ERROR_LOCK_VIOLATION));
}
