// The Win32 file store and the update log on real files, under Wine with the Chinese locale.
#include "update/FileStoreWin32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "common/Errors.h"
#include "common/HandlesWin32.h"
#include "common/SystemError.h"
#include "common/TemporariesWin32.h"
#include "common/WideTextWin32.h"
#include "support/KeptBytes.h"
#include "update/TextList.h"
#include "update/UpdateLog.h"

namespace {

const std::string kFileNotFound = "\xD5\xD2\xB2\xBB\xB5\xBD\xCE\xC4\xBC\xFE\xA1\xA3"; // 找不到文件。 (error 2)

// A fresh folder under the system's temporary folder, removed with everything in it afterwards.
class FileStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Every reason quoted below is a real system text, not an empty one.
        for (DWORD code : {ERROR_PATH_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_SHARING_VIOLATION})
            ASSERT_FALSE(SystemErrorText(code).empty()) << code;
        char temp[MAX_PATH + 1] = {};
        ASSERT_NE(GetTempPathA(sizeof temp, temp), 0u);
        static int serial = 0;
        folder = std::string(temp) + "FileStoreTest-" + std::to_string(GetCurrentProcessId()) + "-" +
                 std::to_string(++serial) + "\\";
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder;
        logPath = folder + "UpLog.dat";
    }
    void TearDown() override
    {
        for (const auto& item : std::filesystem::recursive_directory_iterator(folder))
            SetFileAttributesA(item.path().string().c_str(), FILE_ATTRIBUTE_NORMAL);
        std::filesystem::remove_all(folder);
    }

    static void WriteRaw(const std::string& path, const std::string& bytes)
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        ASSERT_TRUE(out.good()) << path;
    }
    static std::string ReadRaw(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    // The names in the folder: a failed save must leave no temporary file behind.
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& item : std::filesystem::directory_iterator(folder))
            names.push_back(item.path().filename().string());
        return names;
    }
    static FileHandle Hold(const std::string& path, DWORD access, DWORD share)
    {
        return FileHandle(CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    }

    FileStoreWin32 store;
    std::string folder;
    std::string logPath;
};

std::string ErrorText(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EAppError& e) {
        return e.what();
    }
    return "(no error)";
}

} // namespace

TEST_F(FileStoreTest, LoadingAMissingManifestRaisesTheOpenErrorWithTheSystemsText)
{
    ASSERT_TRUE(CreateDirectoryA((folder + "Update").c_str(), nullptr));
    const std::string manifest = folder + "Update\\UpFile.Dat";
    TextList list;
    EXPECT_EQ(ErrorText([&] { list.LoadFromFile(store, manifest); }),
              "Cannot open file \"" + manifest + "\". " + kFileNotFound);
    EXPECT_THROW(list.LoadFromFile(store, manifest), EFOpenError);

    // Without the staging folder the system's reason is the one for a missing path (error 3).
    const std::string elsewhere = folder + "NoFolder\\UpFile.Dat";
    EXPECT_EQ(ErrorText([&] { list.LoadFromFile(store, elsewhere); }),
              "Cannot open file \"" + elsewhere + "\". " + SystemErrorText(ERROR_PATH_NOT_FOUND));
}

TEST_F(FileStoreTest, ReadsEveryByteOfTheFile)
{
    const std::string path = folder + "bytes.bin";
    for (const std::string& bytes : {std::string("a\0b\r\n\xFF\xFE\xCE\xC4", 9), std::string()}) {
        WriteRaw(path, bytes);
        EXPECT_EQ(store.ReadWholeFile(path), bytes);
    }
}

TEST_F(FileStoreTest, ReadingAllowsOtherReadersButNoWriter)
{
    const std::string path = folder + "shared.txt";
    WriteRaw(path, "text");
    {
        FileHandle reader = Hold(path, GENERIC_READ, FILE_SHARE_READ);
        ASSERT_TRUE(reader);
        EXPECT_EQ(store.ReadWholeFile(path), "text");
    }
    FileHandle writer = Hold(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(writer);
    EXPECT_EQ(ErrorText([&] { store.ReadWholeFile(path); }),
              "Cannot open file \"" + path + "\". " + SystemErrorText(ERROR_SHARING_VIOLATION));
}

namespace {

// Hands out its pieces, then raises the open error if told to.
class PiecesSource : public ByteSource {
public:
    PiecesSource(std::vector<std::string> pieces, bool raiseAtEnd = false)
        : pieces_(std::move(pieces)), raiseAtEnd_(raiseAtEnd) {}
    std::string_view Next() override
    {
        if (next_ < pieces_.size())
            return pieces_[next_++];
        if (raiseAtEnd_)
            throw EFOpenError("C:\\source", "Gone.");
        return {};
    }

private:
    const std::vector<std::string> pieces_;
    const bool raiseAtEnd_;
    std::size_t next_ = 0;
};

} // namespace

namespace {

// The files in this process's temporaries folder.
std::size_t TemporariesHeld()
{
    WIN32_FIND_DATAW found{};
    FindHandle find(FindFirstFileW((TemporariesFolder() + L"*.tmp").c_str(), &found));
    std::size_t count = 0;
    for (bool more = find.Valid(); more; more = FindNextFileW(find.Get(), &found) != 0)
        ++count;
    return count;
}

// The names the file has (the kept file's second name among them).
DWORD LinksOf(const std::string& path)
{
    const FileHandle file(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION information{};
    return file && GetFileInformationByHandle(file.Get(), &information) ? information.nNumberOfLinks : 0;
}

} // namespace

// A kept file gives its bytes as they were, as often as asked, whether a save or another program's rename
// puts another file in its place, the new file is written over, or it is deleted. A file is kept under a
// second name, with no copy; a read-only one, whose second name could not be deleted again, as a copy (as
// on a file system without hard links). Either goes with the kept file.
TEST_F(FileStoreTest, AKeptFileKeepsItsBytesWhateverTakesItsPlace)
{
    const std::string path = folder + "kept.txt";
    const std::string other = folder + "other.txt";
    const std::string before = std::string("line 1\r\nline\0 2\n", 15) + std::string(300000, 'x');
    for (const bool readOnly : {false, true}) {
        WriteRaw(path, before);
        ASSERT_TRUE(SetFileAttributesA(path.c_str(), readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL));
        const std::size_t heldBefore = TemporariesHeld();
        {
            const std::unique_ptr<KeptFile> kept = store.KeepFile(path);
            EXPECT_EQ(TemporariesHeld(), heldBefore + 1) << "kept in our temporaries folder";
            EXPECT_EQ(LinksOf(path), readOnly ? 1u : 2u) << "a second name, or a copy";
            EXPECT_EQ(ReadKept(*kept), before);
            EXPECT_EQ(kept->MayBeTheOnlyCopy(), readOnly) << "a copy cannot tell";
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            PiecesSource source({"replaced"});
            store.SaveFile(path, source);
            EXPECT_EQ(ReadKept(*kept), before) << "after a save";
            EXPECT_TRUE(kept->MayBeTheOnlyCopy()) << "after a save";
            WriteRaw(other, "another program's");
            ASSERT_TRUE(MoveFileExA(other.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING));
            EXPECT_EQ(ReadKept(*kept), before) << "after a rename";
            WriteRaw(path, "written over");
            EXPECT_EQ(ReadKept(*kept), before) << "after writing over the new file";
            ASSERT_TRUE(DeleteFileA(path.c_str()));
            EXPECT_EQ(ReadKept(*kept), before) << "after the deletion";
        }
        EXPECT_EQ(TemporariesHeld(), heldBefore) << "the kept bytes go with the kept file";
    }
    EXPECT_EQ(ErrorText([&] { store.KeepFile(path); }),
              "Cannot open file \"" + path + "\". " + SystemErrorText(ERROR_FILE_NOT_FOUND));
}

// A kept file whose bytes a fold could not save elsewhere is left for a later run: its name stays, with
// the kept bytes, after the object goes.
TEST_F(FileStoreTest, AKeptFileLeftForALaterRunKeepsItsName)
{
    WriteRaw(logPath, "earlier run\r\n");
    const std::size_t heldBefore = TemporariesHeld();
    std::wstring name;
    {
        const std::unique_ptr<KeptFile> kept = store.KeepFile(logPath);
        WriteRaw(folder + "staged.dat", "staged\r\n");
        ASSERT_TRUE(MoveFileExA((folder + "staged.dat").c_str(), logPath.c_str(), MOVEFILE_REPLACE_EXISTING));
        EXPECT_EQ(ReadKept(*kept), "earlier run\r\n");
        kept->LeaveForALaterRun();
    }
    ASSERT_EQ(TemporariesHeld(), heldBefore + 1) << "the name stays";
    WIN32_FIND_DATAW found{};
    const std::wstring pattern = TemporariesFolder() + std::to_wstring(GetCurrentProcessId()) + L"-kept-*.tmp";
    const FindHandle find(FindFirstFileW(pattern.c_str(), &found));
    ASSERT_TRUE(find.Valid());
    const std::string left = NarrowText(TemporariesFolder() + found.cFileName, CP_ACP);
    EXPECT_EQ(ReadRaw(left), "earlier run\r\n");
    EXPECT_EQ(LinksOf(left), 1u);
    ASSERT_TRUE(DeleteFileA(left.c_str()));
}

// A file read in pieces gives every byte, and holds the file open only while it is read: once read to its
// end or stopped, a save may put another file in its place.
TEST_F(FileStoreTest, AFileReadInPiecesIsHeldOnlyWhileItIsRead)
{
    const std::string bytes = std::string("line 1\r\nline\0 2\n", 15) + std::string(300000, 'x');
    WriteRaw(logPath, bytes);
    const std::unique_ptr<PieceReader> reader = store.ReadInPieces(logPath);
    EXPECT_EQ(ReadKept(*reader), bytes);
    PiecesSource first({"first"});
    store.SaveFile(logPath, first);
    reader->Rewind();
    char piece[16];
    EXPECT_EQ(reader->Read(piece, sizeof piece), 5u);
    reader->StopReading();
    PiecesSource second({"second"});
    store.SaveFile(logPath, second);
    EXPECT_EQ(ReadRaw(logPath), "second");
    DeleteFileA(logPath.c_str());
    EXPECT_EQ(ErrorText([&] { ReadKept(*store.ReadInPieces(logPath)); }),
              "Cannot open file \"" + logPath + "\". " + kFileNotFound);
}

// A ProZip call clears the temporaries folder of its process, which is ours, while the run keeps the log:
// the kept log's name stays. It goes with the kept log, and the log, which kept its name throughout, stays.
TEST_F(FileStoreTest, TheKeptLogOutlivesTheClearingOfOurTemporariesAndLeavesTheLogItself)
{
    WriteRaw(logPath, "earlier run\r\n");
    const std::size_t heldBefore = TemporariesHeld();
    {
        LogText log = OpenLog(store, folder);
        RemoveLeftTemporaries(TemporariesFolder());
        AddRecord(log, "first", store, folder);
        RemoveLeftTemporaries(TemporariesFolder());
        AddRecord(log, "second", store, folder);
        EXPECT_EQ(ReadRaw(logPath), "second\r\nfirst\r\nearlier run\r\n");
    }
    {
        const LogText untouched = OpenLog(store, folder);
        EXPECT_EQ(LinksOf(logPath), 2u);
    }
    EXPECT_EQ(TemporariesHeld(), heldBefore);
    EXPECT_EQ(LinksOf(logPath), 1u);
    EXPECT_EQ(ReadRaw(logPath), "second\r\nfirst\r\nearlier run\r\n");
}

TEST_F(FileStoreTest, SavingCreatesOrReplacesTheFileWithExactlyTheBytes)
{
    const std::string path = folder + "out.txt";
    const std::vector<std::vector<std::string>> versions = {
        {"first version, ", "longer\r\n"}, {std::string("b\0c", 3)}, {}, {std::string(300000, 'x'), "y"}};
    for (const auto& pieces : versions) {
        PiecesSource source(pieces);
        store.SaveFile(path, source);
        std::string joined;
        for (const std::string& piece : pieces)
            joined += piece;
        EXPECT_EQ(ReadRaw(path), joined);
    }
    EXPECT_EQ(Names(), std::vector<std::string>{"out.txt"});
}

TEST_F(FileStoreTest, ASourceThatFailsLeavesTheOldFileAndNothingElse)
{
    const std::string path = folder + "out.txt";
    WriteRaw(path, "old\r\n");
    PiecesSource source({"new", " bytes"}, true);
    EXPECT_EQ(ErrorText([&] { store.SaveFile(path, source); }), "Cannot open file \"C:\\source\". Gone");
    EXPECT_EQ(ReadRaw(path), "old\r\n");
    EXPECT_EQ(Names(), std::vector<std::string>{"out.txt"});
}

TEST_F(FileStoreTest, SavingIntoAMissingFolderRaisesTheCreateError)
{
    const std::string path = folder + "NoFolder\\out.txt";
    PiecesSource source({"x"});
    EXPECT_EQ(ErrorText([&] { store.SaveFile(path, source); }),
              "Cannot create file \"" + path + "\". " + SystemErrorText(ERROR_PATH_NOT_FOUND));
}

TEST_F(FileStoreTest, PresenceTestFindsFilesOnly)
{
    const std::string file = folder + "file.txt";
    WriteRaw(file, "x");
    ASSERT_TRUE(CreateDirectoryA((folder + "sub").c_str(), nullptr));
    EXPECT_TRUE(store.FileExists(file));
    EXPECT_FALSE(store.FileExists(folder + "sub"));
    EXPECT_FALSE(store.FileExists(folder + "missing.txt"));
    EXPECT_FALSE(store.FileExists(folder + "NoFolder\\missing.txt"));

    // A last write that no DOS date can express (1970) does not hide the file.
    {
        FileHandle handle(CreateFileA(file.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(handle);
        SYSTEMTIME old{};
        old.wYear = 1970;
        old.wMonth = 1;
        old.wDay = 2;
        FILETIME when{};
        ASSERT_TRUE(SystemTimeToFileTime(&old, &when));
        ASSERT_TRUE(SetFileTime(handle.Get(), nullptr, nullptr, &when));
    }
    EXPECT_TRUE(store.FileExists(file));
}

TEST_F(FileStoreTest, AFolderNamedLikeTheLogCountsAsAbsentAndAddingARecordFails)
{
    ASSERT_TRUE(CreateDirectoryA(logPath.c_str(), nullptr));
    LogText log = OpenLog(store, folder);
    EXPECT_EQ(ErrorText([&] { AddRecord(log, "record", store, folder); }),
              "Cannot create file \"" + logPath + "\". " + SystemErrorText(ERROR_ACCESS_DENIED));
    EXPECT_EQ(log.records, "record\r\n");
    EXPECT_EQ(GetFileAttributesA(logPath.c_str()) & FILE_ATTRIBUTE_DIRECTORY, DWORD(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(Names(), std::vector<std::string>{"UpLog.dat"});
}

TEST_F(FileStoreTest, ALogHeldOpenByAnotherProgramGivesTheCreateErrorAndKeepsItsContent)
{
    WriteRaw(logPath, "old record\r\n");
    LogText log = OpenLog(store, folder);
    {
        FileHandle holder = Hold(logPath, GENERIC_READ, 0);
        ASSERT_TRUE(holder);
        EXPECT_EQ(ErrorText([&] { AddRecord(log, "new record", store, folder); }),
                  "Cannot create file \"" + logPath + "\". " + SystemErrorText(ERROR_SHARING_VIOLATION));
    }
    EXPECT_EQ(ReadRaw(logPath), "old record\r\n");
    EXPECT_EQ(log.records, "new record\r\n");
    EXPECT_EQ(Names(), std::vector<std::string>{"UpLog.dat"});

    // Once it is released, the next record carries both to the disk.
    AddRecord(log, "newer record", store, folder);
    EXPECT_EQ(ReadRaw(logPath), "newer record\r\nnew record\r\nold record\r\n");
}

// As root under Wine the probe opens a read-only file for writing; the replace then fails (error 5). On
// Windows the probe fails with the same error.
TEST_F(FileStoreTest, AReadOnlyLogGivesTheCreateErrorAndKeepsItsContent)
{
    WriteRaw(logPath, "old record\r\n");
    ASSERT_TRUE(SetFileAttributesA(logPath.c_str(), FILE_ATTRIBUTE_READONLY));
    LogText log = OpenLog(store, folder);
    EXPECT_EQ(ErrorText([&] { AddRecord(log, "new record", store, folder); }),
              "Cannot create file \"" + logPath + "\". " + SystemErrorText(ERROR_ACCESS_DENIED));
    EXPECT_EQ(ReadRaw(logPath), "old record\r\n");
    EXPECT_EQ(Names(), std::vector<std::string>{"UpLog.dat"});
}

TEST_F(FileStoreTest, ALogWithLfEndsAndANulIsRewrittenWithCrLfAndCutAtTheNul)
{
    WriteRaw(logPath, std::string("line 1\nline 2\n\nline 3\0lost\nlost too", 35));
    LogText log = OpenLog(store, folder);
    AddRecord(log, "new record", store, folder);
    EXPECT_EQ(ReadRaw(logPath), "new record\r\nline 1\r\nline 2\r\n\r\nline 3\r\n");
}

// Larger than the pieces in which the log is written: lines cross the pieces' borders, a CR LF among them.
TEST_F(FileStoreTest, ALargeLogIsRewrittenWholeAcrossThePiecesItIsWrittenIn)
{
    std::string before, after = "new\r\n";
    for (int i = 0; before.size() < 3 * 128 * 1024; ++i) {
        const std::string line = "line " + std::to_string(i) + std::string(i % 97, '.');
        before += line + (i % 2 == 0 ? "\n" : "\r\n");
        after += line + "\r\n";
    }
    WriteRaw(logPath, before);
    LogText log = OpenLog(store, folder);
    AddRecord(log, "new", store, folder);
    EXPECT_EQ(ReadRaw(logPath), after);
    AddRecord(log, "newer", store, folder);
    EXPECT_EQ(ReadRaw(logPath), "newer\r\n" + after);
    EXPECT_EQ(Names(), std::vector<std::string>{"UpLog.dat"});
}

// Another program writes to the log between two records: the second save still writes the run's records
// above the log as it was when the run began.
TEST_F(FileStoreTest, ALogChangedBetweenTwoRecordsKeepsWhatItHeldAtTheStart)
{
    WriteRaw(logPath, "earlier run\r\n");
    LogText log = OpenLog(store, folder);
    AddRecord(log, "first", store, folder);
    WriteRaw(logPath, "written by another program\r\n");
    AddRecord(log, "second", store, folder);
    EXPECT_EQ(ReadRaw(logPath), "second\r\nfirst\r\nearlier run\r\n");
    EXPECT_EQ(Names(), std::vector<std::string>{"UpLog.dat"});
}

TEST_F(FileStoreTest, ALogWithoutAFinalLineEndGetsOne)
{
    WriteRaw(logPath, "only line");
    LogText log = OpenLog(store, folder);
    AddRecord(log, "new", store, folder);
    EXPECT_EQ(ReadRaw(logPath), "new\r\nonly line\r\n");
}
