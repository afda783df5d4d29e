#include <algorithm>
#include <functional>
#include <iterator>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "UpdateWorld.h"
#include "common/Errors.h"
#include "update/CopyReadAhead.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::StartsWith;

namespace {

// 〖 ... 〗文件升级失败!
std::string Notice(const std::string& entry)
{
    return "\xA1\xBC" + entry + "\xA1\xBD\xCE\xC4\xBC\xFE\xC9\xFD\xBC\xB6\xCA\xA7\xB0\xDC!";
}
const std::string kCaption = "Marovin--\xD4\xDA\xCF\xDF\xBF\xBC\xCA\xD4\xC6\xBD\xCC\xA8"; // Marovin--在线考试平台
const std::string kFailed = "\xC9\xFD\xBC\xB6\xCA\xA7\xB0\xDC";                        // 升级失败

// A manifest of `entries` entries, the i-th "f<i modulo files>.bin", each file staged with the bytes
// "bytes of " and its name.
void StageRepeatedly(UpdateWorld& w, int entries, int files)
{
    std::string manifest;
    for (int i = 0; i < entries; ++i) {
        const std::string entry = "f" + std::to_string(i % files) + ".bin";
        w.Stage(entry, "bytes of " + entry);
        manifest += entry + "\r\n";
    }
    w.Manifest(manifest);
}

} // namespace

TEST(UpdateRun, LogHoldsEveryFailureNewestFirstAndACopyFailureEndsTheRun)
{
    UpdateWorld w;
    w.Manifest("b.zip\r\nc.txt\r\na.txt\r\nd.txt\r\n");
    w.host.zipResults[w.app + "Update\\b.zip"] = -1;
    w.Stage("a.txt");
    w.Stage("d.txt");
    w.disk.files[w.app + "a.txt"] = "old";
    w.disk.readOnly.insert(w.app + "a.txt");
    w.disk.files[w.app + "QeltoU2.dat"] = "u2";

    w.Run();

    EXPECT_THAT(w.Log(), ElementsAre("2008/5/7 9:05:05," + Notice("a.txt"),
                                     "2008/5/7 9:05:04,Cannot open file \"C:\\app\\Update\\c.txt\". Not found",
                                     "2008/5/7 9:05:03b.zip" + kFailed));
    EXPECT_THAT(w.Events("box "), ElementsAre("box 0 " + kCaption + ": " + Notice("a.txt")));
    EXPECT_EQ(w.File("a.txt"), "old");
    EXPECT_EQ(w.File("d.txt"), "<absent>") << "entries after a copy failure are not visited";
    EXPECT_EQ(w.File("QeltoU2.dat"), "u2") << "no rotation";
    EXPECT_THAT(w.Events("relaunch"), IsEmpty());
}

TEST(UpdateRun, NoticeIsShownBeforeTheCopyFailureIsSaved)
{
    UpdateWorld w;
    w.Manifest("a.txt");
    w.Stage("a.txt");
    w.disk.folders.insert(w.app + "a.txt");
    w.Run();
    EXPECT_THAT(w.journal, ElementsAre("read C:\\app\\Update\\UpFile.Dat", "pump", "folder? C:\\app\\",
                                       "copy C:\\app\\Update\\a.txt -> C:\\app\\a.txt",
                                       "box 0 " + kCaption + ": " + Notice("a.txt"), "save C:\\app\\UpLog.dat"));
}

TEST(UpdateRun, PlainEntryIsPumpedCopiedThenTheRunRotatesAndRelaunches)
{
    UpdateWorld w;
    w.Manifest("readme.txt\r\n");
    w.Stage("readme.txt", "new text");
    w.disk.files[w.app + "readme.txt"] = "old text";
    w.disk.files[w.app + "QeltoU2.dat"] = "u2";

    w.Run();

    EXPECT_EQ(w.File("readme.txt"), "new text");
    EXPECT_THAT(w.journal, ElementsAre("read C:\\app\\Update\\UpFile.Dat", "pump", "folder? C:\\app\\",
                                       "copy C:\\app\\Update\\readme.txt -> C:\\app\\readme.txt",
                                       "rename C:\\app\\QeltoU2.dat -> C:\\app\\QeltoUp.dat", "unlock", "relaunch"));
    EXPECT_EQ(w.File("UpLog.dat"), "<absent>");
}

// Once the run's file work is over, before the client is relaunched (which may start an applier at once),
// the log kept from the run's start is let go of (its second name removed) and then the next applier is let
// in, whether or not the run recorded anything. A run that ends on a copy failure lets go of the log as it
// ends, and leaves the lock to the window.
TEST(UpdateRun, TheKeptLogIsLetGoOfAndTheNextApplierLetInBeforeTheRelaunch)
{
    struct Case {
        const char* manifest;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"readme.txt", {"let go C:\\app\\UpLog.dat", "unlock", "relaunch"}},
        {"missing.txt\r\nreadme.txt", {"let go C:\\app\\UpLog.dat", "unlock", "relaunch"}},
        {"ro.txt\r\nreadme.txt", {"let go C:\\app\\UpLog.dat"}},
    };
    for (const Case& c : cases) {
        UpdateWorld w;
        w.Manifest(c.manifest);
        w.Stage("readme.txt");
        w.Stage("ro.txt");
        w.disk.files[w.app + "ro.txt"] = "old";
        w.disk.readOnly.insert(w.app + "ro.txt");
        w.disk.files[w.app + "UpLog.dat"] = "earlier\r\n";
        w.Run();
        std::vector<std::string> ends;
        std::copy_if(w.journal.begin(), w.journal.end(), std::back_inserter(ends), [](const std::string& event) {
            return event.rfind("let go ", 0) == 0 || event == "unlock" || event == "relaunch";
        });
        EXPECT_EQ(ends, c.expected) << c.manifest;
        EXPECT_EQ(w.journal.back(), c.expected.back()) << c.manifest << ": nothing after it";
    }
}

// A log that a killed run kept under its only name is folded back below the log before the run reads it,
// unless the log already ends with it (the killed run had saved); it is forgotten once folded back, and
// kept for a later run when that fails.
TEST(UpdateRun, ALogLeftUnderItsKeptNameIsFoldedBack)
{
    const std::string kept = "C:\\app\\Update\\~upd\\77-kept-1.tmp";
    struct Case {
        const char* name;
        const char* log; // nullptr: none
        int failingSaves;
        std::vector<std::string> expected;
        bool forgotten;
    };
    const std::vector<Case> cases = {
        {"a staged log was installed", "staged\r\n", 0, {"staged", "older", "oldest"}, true},
        {"the killed run had saved", "a record\r\nolder\r\noldest\r\n", 0, {"a record", "older", "oldest"}, true},
        {"no log", nullptr, 0, {"older", "oldest"}, true},
        {"the fold cannot be saved", "staged\r\n", 1, {"staged"}, false},
    };
    for (const Case& c : cases) {
        UpdateWorld w;
        w.Manifest("");
        w.disk.files[kept] = "older\noldest";
        w.disk.leftKept = {{kept, 1}};
        if (c.log != nullptr)
            w.disk.files[w.app + "UpLog.dat"] = c.log;
        w.disk.failingSaves = c.failingSaves;
        w.Run();
        EXPECT_EQ(w.Log(), c.expected) << c.name;
        EXPECT_EQ(w.disk.files.count(kept) == 0, c.forgotten) << c.name;
        EXPECT_THAT(w.Events("relaunch"), ElementsAre("relaunch")) << c.name;
        EXPECT_THAT(w.Events("read "), ElementsAre("read C:\\app\\Update\\UpFile.Dat")) << c.name << ": read in pieces";
    }
}

// Several logs left under kept names (folds that failed, a kill after each) are folded back newest first,
// whatever order they are found in, so that the oldest records end up lowest; one that holds an older one
// below its own lines (a fold saved, the older name not removed) adds it once.
TEST(UpdateRun, SeveralLeftLogsAreFoldedBackNewestFirst)
{
    const std::string older = "C:\\app\\Update\\~upd\\9-kept-1.tmp";
    const std::string newer = "C:\\app\\Update\\~upd\\3-kept-1.tmp";
    struct Case {
        const char* name;
        const char* newerBytes;
        std::vector<LeftKeptFile> found;
    };
    const std::vector<Case> cases = {
        {"in folder order", "staged 1\r\n", {{newer, 20}, {older, 10}}},
        {"oldest found first", "staged 1\r\n", {{older, 10}, {newer, 20}}},
        {"the newer holds the older", "staged 1\r\noldest\r\n", {{older, 10}, {newer, 20}}},
    };
    for (const Case& c : cases) {
        UpdateWorld w;
        w.Manifest("");
        w.disk.files[w.app + "UpLog.dat"] = "staged 2\r\n";
        w.disk.files[older] = "oldest\r\n";
        w.disk.files[newer] = c.newerBytes;
        w.disk.leftKept = c.found;
        w.Run();
        EXPECT_THAT(w.Log(), ElementsAre("staged 2", "staged 1", "oldest")) << c.name;
        EXPECT_THAT(w.disk.leftKept, IsEmpty()) << c.name;
        EXPECT_EQ(w.disk.files.count(older) + w.disk.files.count(newer), 0u) << c.name;
    }
}

// A staged log installed over the log: whether the run ends clean, on a copy failure, on an entry error,
// or by an error that escapes it, the records of earlier runs stay in the log, below what was saved since
// or below the staged lines, right after the run and after the next one, and nothing of ours is left.
// The staged log is installed with them in one save: an install that cannot be saved is a copy failure
// that leaves the old log, and a run that can save nothing after the install still leaves both.
TEST(UpdateRun, TheRecordsOfEarlierRunsOutliveAStagedLogHoweverTheRunEnds)
{
    const std::string old = "2008/5/7 9:05:03,OLD RECORD";
    struct Case {
        const char* name;
        const char* manifest;
        int passingSaves;
        int failingSaves;
        std::vector<std::string> expected; // the log after the run, and after a next run of an empty manifest
    };
    const std::vector<Case> cases = {
        {"clean", "UpLog.dat\r\nreadme.txt", 0, 0, {"STAGED LOG", old}},
        {"a copy failure", "UpLog.dat\r\nro.txt", 0, 0, {"2008/5/7 9:05:03," + Notice("ro.txt"), old}},
        {"an entry error", "UpLog.dat\r\nmissing.txt", 0, 0,
         {"2008/5/7 9:05:03,Cannot open file \"C:\\app\\Update\\missing.txt\". Not found", old}},
        {"the install cannot be saved", "UpLog.dat\r\nreadme.txt", 0, 1,
         {"2008/5/7 9:05:03," + Notice("UpLog.dat"), old}},
        {"no save after the install", "UpLog.dat\r\nmissing.txt", 1, 1, {"STAGED LOG", old}},
    };
    for (const Case& c : cases) {
        UpdateWorld w;
        w.disk.files[w.app + "UpLog.dat"] = old + "\r\n";
        w.Manifest(c.manifest);
        w.Stage("UpLog.dat", "STAGED LOG\r\n");
        w.Stage("readme.txt");
        w.Stage("ro.txt");
        w.disk.files[w.app + "ro.txt"] = "old";
        w.disk.readOnly.insert(w.app + "ro.txt");
        w.disk.passingSaves = c.passingSaves;
        w.disk.failingSaves = c.failingSaves;
        try {
            w.Run();
        } catch (const EAppError&) {
            EXPECT_STREQ(c.name, "no save after the install");
        }
        EXPECT_EQ(w.Log(), c.expected) << c.name;
        w.Manifest("");
        w.Run();
        EXPECT_EQ(w.Log(), c.expected) << c.name << ": after the next run";
        EXPECT_THAT(w.disk.leftKept, IsEmpty()) << c.name << ": nothing of ours left";
    }
}

// A left log larger than a piece of the Windows store is folded back without either file read whole (the
// fake journals every whole read and hands out pieces of three bytes): the log's lines, then the kept
// ones, as the text list rules them, whatever their line ends; a log that already ends with them is left
// as it is.
TEST(UpdateRun, ALargeLeftLogIsFoldedBackInPieces)
{
    const std::string kept = "C:\\app\\Update\\~upd\\77-kept-1.tmp";
    std::string large;
    std::string normalised;
    for (int i = 0; i < 12000; ++i) {
        const std::string line = "record " + std::to_string(i);
        large += line + (i % 3 == 0 ? "\n" : i % 3 == 1 ? "\r" : "\r\n");
        normalised += line + "\r\n";
    }
    for (const bool saved : {false, true}) {
        UpdateWorld w;
        w.Manifest("");
        const std::string log = saved ? "a record\r\n" + normalised : "staged\r\n";
        w.disk.files[w.app + "UpLog.dat"] = log;
        w.disk.files[kept] = large;
        w.disk.leftKept = {{kept, 1}};
        w.Run();
        EXPECT_EQ(w.File("UpLog.dat"), saved ? log : "staged\r\n" + normalised) << saved;
        EXPECT_EQ(w.Events("save ").size(), saved ? 0u : 1u) << saved;
        EXPECT_EQ(w.disk.files.count(kept), 0u) << saved;
        EXPECT_THAT(w.Events("read "), ElementsAre("read C:\\app\\Update\\UpFile.Dat")) << saved;
    }
}

TEST(UpdateRun, EmptyManifestStillRotatesAndRelaunches)
{
    UpdateWorld w;
    w.Manifest("");
    w.disk.files[w.app + "QeltoU2.dat"] = "u2";
    w.Run();
    EXPECT_EQ(w.File("QeltoUp.dat"), "u2");
    EXPECT_THAT(w.Events("relaunch"), ElementsAre("relaunch"));
}

TEST(UpdateRun, SubFolderOfAPlainEntryIsCreatedWhenMissing)
{
    UpdateWorld w;
    w.Manifest("Sub\\new.txt\r\nSub\\two.txt");
    w.Stage("Sub\\new.txt");
    w.Stage("Sub\\two.txt");
    w.Run();
    EXPECT_THAT(w.Events("mkdir "), ElementsAre("mkdir C:\\app\\Sub\\")) << "created once, then known";
    EXPECT_EQ(w.File("Sub\\new.txt"), "new");
    EXPECT_EQ(w.File("Sub\\two.txt"), "new");
}

// A folder found or made is not asked about again; one whose creation failed is, at its next entry.
TEST(UpdateRun, EachTargetFolderIsCheckedOnceUnlessItCouldNotBeMade)
{
    UpdateWorld w;
    w.Manifest("a.txt\r\nSub\\b.txt\r\nc.txt\r\nSub\\d.txt\r\nNo\\Deep\\e.txt\r\nNo\\Deep\\f.txt");
    for (const char* entry : {"a.txt", "Sub\\b.txt", "c.txt", "Sub\\d.txt"})
        w.Stage(entry);
    w.Run();
    EXPECT_THAT(w.Events("folder? "),
                ElementsAre("folder? C:\\app\\", "folder? C:\\app\\Sub\\", "folder? C:\\app\\No\\Deep\\",
                            "folder? C:\\app\\No\\Deep\\"));
    EXPECT_THAT(w.Events("mkdir "), ElementsAre("mkdir C:\\app\\Sub\\", "mkdir C:\\app\\No\\Deep\\",
                                                "mkdir C:\\app\\No\\Deep\\"));
    EXPECT_EQ(w.File("Sub\\d.txt"), "new");
}

// Failures that end their own entry only: each adds one record, and the next entry is still installed.
TEST(UpdateRun, EntryFailuresAreLoggedAndTheRunGoesOn)
{
    const struct {
        const char* name;
        std::string manifestLine;
        std::function<void(UpdateWorld&)> arrange;
        std::string record;
    } cases[] = {
        {"staged file missing", "gone.txt", [](UpdateWorld&) {},
         "2008/5/7 9:05:03,Cannot open file \"C:\\app\\Update\\gone.txt\". Not found"},
        {"staged file locked", "busy.txt",
         [](UpdateWorld& w) {
             w.Stage("busy.txt");
             w.disk.locked.insert(w.app + "Update\\busy.txt");
         },
         "2008/5/7 9:05:03,Cannot open file \"C:\\app\\Update\\busy.txt\". In use by another program"},
        {"empty line", "", [](UpdateWorld&) {},
         "2008/5/7 9:05:03,Cannot open file \"C:\\app\\Update\\\". Not found"},
        {"extraction fails", "pack.zip",
         [](UpdateWorld& w) { w.host.zipResults[w.app + "Update\\pack.zip"] = -1; },
         "2008/5/7 9:05:03pack.zip" + kFailed},
        {"archive library raises", "pack.zip",
         [](UpdateWorld& w) { w.host.zipRaises.insert(w.app + "Update\\pack.zip"); },
         "2008/5/7 9:05:03,Archive library failed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UpdateWorld w;
        w.Manifest(c.manifestLine + "\r\nnext.txt\r\n");
        w.Stage("next.txt");
        c.arrange(w);

        w.Run();

        EXPECT_THAT(w.Log(), ElementsAre(c.record));
        EXPECT_EQ(w.File("next.txt"), "new");
        EXPECT_THAT(w.Events("box "), IsEmpty());
        EXPECT_THAT(w.Events("relaunch"), ElementsAre("relaunch"));
    }
}

TEST(UpdateRun, ArchiveEntriesAreExtractedToTheirDerivedTargets)
{
    const struct {
        std::string entry;
        std::string target;
        bool createsFolder;
    } cases[] = {
        {"a_b.c_d.zip", "C:\\app\\a.b", false},
        {"Sub\\Lib_dll.zip", "C:\\app\\Sub\\Lib.dll", true},
        {"QeltoExamexe.zip", "C:\\app\\QeltoExam.exe", false},
        {"Bin\\toolexe.zip", "C:\\app\\Bin\\tool.exe", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        UpdateWorld w;
        w.Manifest(c.entry);
        w.Run();
        EXPECT_THAT(w.Events("zip "), ElementsAre("zip 1 C:\\app\\Update\\" + c.entry + " -> " + c.target));
        EXPECT_EQ(w.Events("mkdir ").size(), c.createsFolder ? 1u : 0u);
        EXPECT_THAT(w.Events("pump"), IsEmpty());
        EXPECT_THAT(w.Log(), IsEmpty());
    }
}

TEST(UpdateRun, UpperCaseZipEntryIsCopiedNotExtracted)
{
    UpdateWorld w;
    w.Manifest("PACK.ZIP");
    w.Stage("PACK.ZIP", "zip bytes");
    w.Run();
    EXPECT_THAT(w.Events("zip "), IsEmpty());
    EXPECT_EQ(w.File("PACK.ZIP"), "zip bytes");
}

TEST(UpdateRun, FailedSaveOfACopyFailureIsLoggedAsAnEntryErrorAndTheRunGoesOn)
{
    UpdateWorld w;
    w.Manifest("a.txt\r\nb.txt");
    w.Stage("a.txt");
    w.Stage("b.txt");
    w.disk.readOnly.insert(w.app + "a.txt");
    w.disk.files[w.app + "a.txt"] = "old";
    w.disk.failingSaves = 1;

    w.Run();

    EXPECT_THAT(w.Log(), ElementsAre("2008/5/7 9:05:04,Cannot create file \"C:\\app\\UpLog.dat\". Access denied",
                                     "2008/5/7 9:05:03," + Notice("a.txt")));
    EXPECT_EQ(w.File("b.txt"), "new");
    EXPECT_THAT(w.Events("relaunch"), ElementsAre("relaunch"));
}

// The guard saves once more after a failed save; when that save fails as well, its error escapes.
TEST(UpdateRun, FailedSaveInsideTheGuardEscapesTheRun)
{
    const struct {
        const char* name;
        std::string entry;
        int failingSaves;
    } cases[] = {
        {"copy failure, then the guard's save", "ro.txt", 2},
        {"entry error", "gone.txt", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UpdateWorld w;
        w.Manifest(c.entry + "\r\nb.txt");
        w.Stage("ro.txt");
        w.Stage("b.txt");
        w.disk.readOnly.insert(w.app + "ro.txt");
        w.disk.failingSaves = c.failingSaves;
        EXPECT_THROW(w.Run(), EFCreateError);
        EXPECT_EQ(w.File("b.txt"), "<absent>");
        EXPECT_THAT(w.Events("relaunch"), IsEmpty());
    }
}

TEST(UpdateRun, UnreadableManifestOrLogEscapesBeforeAnyEntry)
{
    const struct {
        const char* name;
        std::function<void(UpdateWorld&)> arrange;
        std::string message;
    } cases[] = {
        {"manifest missing", [](UpdateWorld& w) { w.disk.files.erase(w.app + "Update\\UpFile.Dat"); },
         "Cannot open file \"C:\\app\\Update\\UpFile.Dat\". Not found"},
        {"log locked",
         [](UpdateWorld& w) {
             w.disk.files[w.app + "UpLog.dat"] = "older record\r\n";
             w.disk.locked.insert(w.app + "UpLog.dat");
         },
         "Cannot open file \"C:\\app\\UpLog.dat\". In use by another program"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UpdateWorld w;
        w.Manifest("a.txt");
        w.Stage("a.txt");
        w.disk.files[w.app + "QeltoU2.dat"] = "u2";
        c.arrange(w);
        try {
            w.Run();
            ADD_FAILURE() << "no error escaped";
        } catch (const EFOpenError& error) {
            EXPECT_EQ(error.what(), c.message);
        }
        EXPECT_THAT(w.Events("pump"), IsEmpty());
        EXPECT_THAT(w.Events("save "), IsEmpty());
        EXPECT_THAT(w.Events("rename "), IsEmpty());
        EXPECT_THAT(w.Events("relaunch"), IsEmpty());
    }
}

TEST(UpdateRun, UnsafeEntriesAreRefusedWithoutTouchingAnything)
{
    const std::string entries[] = {
        "C:\\Windows\\evil.dll", "c:evil.dll", "\\evil.dll", "/evil.dll", "..\\evil.dll",
        "Sub\\..\\..\\evil.dll", "Sub/../evil.dll", "..", ". .\\evil.dll", "D:\\evil.zip",
        "__\\evil_dll.zip", // its target would be "..\evil.dll"
        "NUL", "AUX", "COM1", "com1.dat", "CON", "Sub\\CON", "lpt1.txt", "Sub\\nul_txt.zip", "con.zip",
    };
    for (const std::string& entry : entries) {
        SCOPED_TRACE(entry);
        UpdateWorld w;
        w.Manifest(entry + "\r\nnext.txt");
        w.Stage(entry);
        w.Stage("next.txt");

        w.Run();

        ASSERT_EQ(w.Log().size(), 1u);
        EXPECT_THAT(w.Log()[0], StartsWith("2008/5/7 9:05:03,Refused unsafe entry \"" + entry + "\": "));
        EXPECT_THAT(w.Events("copy "), ElementsAre("copy C:\\app\\Update\\next.txt -> C:\\app\\next.txt"));
        EXPECT_THAT(w.Events("pump"), ElementsAre("pump"));
        EXPECT_THAT(w.Events("zip "), IsEmpty());
        EXPECT_THAT(w.Events("mkdir "), IsEmpty());
        EXPECT_THAT(w.Events("relaunch"), ElementsAre("relaunch"));
    }
}

// A staged "UpLog.dat" may replace the log during a run: the records the log held at the start stay below
// every later record all the same.
TEST(UpdateRun, InstallingAStagedLogKeepsTheRecordsOfEarlierRuns)
{
    UpdateWorld w;
    w.disk.files[w.app + "UpLog.dat"] = "earlier run\r\n";
    w.Manifest("UpLog.dat\r\nmissing.txt\r\n");
    w.Stage("UpLog.dat", "staged line\r\n");

    w.Run();

    EXPECT_THAT(w.Log(), ElementsAre("2008/5/7 9:05:03,Cannot open file \"C:\\app\\Update\\missing.txt\". Not found",
                                     "earlier run"));
}

TEST(UpdateRun, RotationErrorIsLoggedAboveOlderRecordsAndTheClientIsStillRelaunched)
{
    UpdateWorld w;
    w.clock = FakeClock(LocalTime{2008, 5, 8, 4, 0, 0, 0, 200});
    w.Manifest("");
    w.disk.files[w.app + "UpLog.dat"] = "line 1\r\nline 2\r\nline 3\r\n";
    w.disk.raiseOnExists.insert(w.app + "QeltoUp.bak");
    w.Run();
    EXPECT_THAT(w.Log(), ElementsAre("2008/5/8,2158983876", "line 1", "line 2", "line 3"));
    EXPECT_THAT(w.Events("relaunch"), ElementsAre("relaunch"));
}

namespace {

// The position of the first journal event equal to `event`; the journal's size when there is none.
std::size_t Position(const UpdateWorld& w, const std::string& event)
{
    return std::find(w.journal.begin(), w.journal.end(), event) - w.journal.begin();
}

} // namespace

// Copies made ahead change nothing of the order: records and copies follow the manifest, failures of every
// kind mixed in; each failure drops what was copied ahead before it is recorded, and after a copy failure
// nothing later is installed and nothing copied ahead remains.
TEST(UpdateRun, CopiesAheadKeepTheOrderOfCopiesAndRecordsWithFailuresMixedIn)
{
    UpdateWorld w;
    w.disk.journalReadAhead = true;
    w.Manifest("a.txt\r\nmissing.txt\r\nb.zip\r\nc.txt\r\n..\\evil.txt\r\nd.txt\r\nro.txt\r\ne.txt\r\nf.txt");
    for (const char* entry : {"a.txt", "c.txt", "d.txt", "ro.txt", "e.txt", "f.txt"})
        w.Stage(entry, std::string("new ") + entry);
    w.disk.files[w.app + "ro.txt"] = "old";
    w.disk.readOnly.insert(w.app + "ro.txt");
    w.host.zipResults[w.app + "Update\\b.zip"] = -1;

    w.Run();

    EXPECT_THAT(w.Events("copy "), ElementsAre("copy C:\\app\\Update\\a.txt -> C:\\app\\a.txt",
                                               "copy C:\\app\\Update\\missing.txt -> C:\\app\\missing.txt",
                                               "copy C:\\app\\Update\\c.txt -> C:\\app\\c.txt",
                                               "copy C:\\app\\Update\\d.txt -> C:\\app\\d.txt",
                                               "copy C:\\app\\Update\\ro.txt -> C:\\app\\ro.txt"));
    const std::vector<std::string> log = w.Log();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_THAT(log[0], StartsWith("2008/5/7 9:05:06,\xA1\xBCro.txt"));
    EXPECT_THAT(log[1], StartsWith("2008/5/7 9:05:05,Refused unsafe entry \"..\\evil.txt\""));
    EXPECT_EQ(log[2], "2008/5/7 9:05:04b.zip" + kFailed);
    EXPECT_THAT(log[3], StartsWith("2008/5/7 9:05:03,Cannot open file \"C:\\app\\Update\\missing.txt\""));
    EXPECT_EQ(w.File("d.txt"), "new d.txt");
    EXPECT_EQ(w.File("ro.txt"), "old");
    EXPECT_EQ(w.File("e.txt"), "<absent>");
    EXPECT_EQ(w.File("f.txt"), "<absent>");
    EXPECT_LT(Position(w, "ahead C:\\app\\Update\\e.txt"), w.journal.size()) << "e.txt was copied ahead";
    const std::size_t box = Position(w, "box 0 " + kCaption + ": " + Notice("ro.txt"));
    ASSERT_LT(box, w.journal.size());
    EXPECT_EQ(w.journal[box - 1], "drop") << "dropped before the notice";
    EXPECT_EQ(w.journal[Position(w, "save C:\\app\\UpLog.dat") - 1], "drop") << "dropped before the first record";
    EXPECT_EQ(w.disk.AnnouncedCopies(), 0u);
    EXPECT_THAT(w.disk.outOfTurn, IsEmpty());
}

// An entry installing into the staging folder changes a later entry's staged source, so nothing after it is
// copied ahead before it is done (the fake copies ahead at once, from the bytes of that moment).
TEST(UpdateRun, EntriesAfterOneInstallingIntoTheStagingFolderReadItsResult)
{
    const std::vector<std::string> manifests = {
        "Update\\b.txt\r\nb.txt",
        "Update\\b.txt\r\nx.txt\r\ny.txt\r\nb.txt",
        "x.txt\r\nUpdate\\b.txt\r\nb.txt",
        "x.txt\r\ny.txt\r\nUpdate\\b.txt\r\nx.txt\r\nb.txt",
    };
    for (const std::string& manifest : manifests) {
        UpdateWorld w;
        w.Manifest(manifest);
        w.Stage("Update\\b.txt", "newer");
        w.Stage("b.txt", "stale");
        w.Stage("x.txt");
        w.Stage("y.txt");
        w.Run();
        EXPECT_EQ(w.File("b.txt"), "newer") << manifest;
        EXPECT_EQ(w.File("Update\\b.txt"), "newer") << manifest;
        EXPECT_THAT(w.disk.outOfTurn, IsEmpty()) << manifest;
        EXPECT_THAT(w.Log(), IsEmpty()) << manifest;
    }
}

// An extraction meets no copy of ours in progress (ProZip clears the process's own temporaries), and entries
// after it are copied ahead only once it is done.
TEST(UpdateRun, NothingIsCopiedAheadAcrossAnArchiveEntry)
{
    UpdateWorld w;
    w.disk.journalReadAhead = true;
    w.Manifest("a.txt\r\nb.txt\r\np.zip\r\nc.txt\r\nd.txt");
    for (const char* entry : {"a.txt", "b.txt", "c.txt", "d.txt"})
        w.Stage(entry);
    w.Run();
    ASSERT_EQ(w.Events("zip ").size(), 1u);
    const std::size_t zip = Position(w, w.Events("zip ")[0]);
    EXPECT_LT(Position(w, "ahead C:\\app\\Update\\b.txt"), zip);
    EXPECT_GT(Position(w, "ahead C:\\app\\Update\\c.txt"), zip);
    EXPECT_EQ(w.File("d.txt"), "new");
    EXPECT_THAT(w.disk.outOfTurn, IsEmpty());
}

// A copy that could not be made ahead is made again in turn, which drops the copies announced after it;
// the look-ahead then starts again at the next entry, so no entry is asked for while a later one is first
// (under Windows that copy would meet a worker's open of the same file, and fail for a file that is there).
TEST(UpdateRun, TheLookAheadStaysInStepAfterACopyIsMadeAgainInTurn)
{
    for (const int held : {0, 3}) {
        UpdateWorld w;
        w.disk.journalReadAhead = true;
        StageRepeatedly(w, 14, 11);
        w.disk.heldAhead.insert(w.app + "Update\\f" + std::to_string(held) + ".bin");
        w.Run();
        EXPECT_EQ(w.Events("copy ").size(), 14u) << held;
        EXPECT_EQ(w.File("f10.bin"), "bytes of f10.bin") << held;
        EXPECT_THAT(w.disk.outOfTurn, IsEmpty()) << held;
        EXPECT_THAT(w.Log(), IsEmpty()) << held;
        EXPECT_GT(w.disk.mostAnnounced, 1u) << held;
    }
}

// However long the manifest, only a few copies are ahead at any time; the same entry twice is installed twice.
TEST(UpdateRun, CopiesAheadStayFewWhateverTheManifestsLength)
{
    UpdateWorld w;
    StageRepeatedly(w, 500, 250);
    w.Run();
    EXPECT_EQ(w.Events("copy ").size(), 500u);
    EXPECT_EQ(w.File("f249.bin"), "bytes of f249.bin");
    EXPECT_LE(w.disk.mostAnnounced, CopyReadAhead::kCopiesAhead + 1);
    EXPECT_GT(w.disk.mostAnnounced, 1u);
    EXPECT_THAT(w.disk.outOfTurn, IsEmpty());
    EXPECT_THAT(w.Log(), IsEmpty());
}
