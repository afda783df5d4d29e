// Copies that UpdateFilesWin32 writes ahead on its workers, put in place in turn, on real files under Wine.
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/Errors.h"
#include "common/HandlesWin32.h"
#include "common/TemporariesWin32.h"
#include "common/UnitPublic.h"
#include "support/ScratchFolder.h"
#include "update/UpdateFilesWin32.h"

using ::testing::IsEmpty;

namespace {

// This process's temporaries in its temporaries folder.
std::vector<std::wstring> OwnTemporaries()
{
    const std::wstring folder = TemporariesFolder();
    const std::wstring prefix = std::to_wstring(GetCurrentProcessId()) + L"-";
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    FindHandle find(FindFirstFileW((folder + L"*.tmp").c_str(), &found));
    for (bool more = find.Valid(); more; more = FindNextFileW(find.Get(), &found) != 0)
        if (std::wstring(found.cFileName).rfind(prefix, 0) == 0)
            names.push_back(found.cFileName);
    return names;
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class CopiesAheadTest : public ::testing::Test {
protected:
    ScratchFolder folder{"CopiesAheadTest"};
    std::string Staged(int i) const { return folder.Path() + "staged" + std::to_string(i) + ".bin"; }
    std::string Target(int i) const { return folder.Path() + "target" + std::to_string(i) + ".bin"; }
    static std::string Bytes(int i) { return "new bytes of " + std::to_string(i); }
};

} // namespace

// Copies ahead change only when a target takes its new bytes: in turn, each checked then; after a copy
// failure the drop removes everything written ahead and nothing later is in place.
TEST_F(CopiesAheadTest, AnnouncedCopiesArePutInPlaceInTurnAndADropLeavesNoTemporary)
{
    const int count = 16;
    const int readOnly = 5;
    for (int i = 0; i < count; ++i)
        ASSERT_TRUE(ScratchFolder::Write(Staged(i), Bytes(i)));
    ASSERT_TRUE(ScratchFolder::Write(Target(readOnly), "old"));
    ASSERT_TRUE(SetFileAttributesA(Target(readOnly).c_str(), FILE_ATTRIBUTE_READONLY));
    {
        const TemporariesScope run;
        UpdateFilesWin32 files;
        for (int i = 0; i < count; ++i)
            files.AnnounceCopy(Staged(i), Target(i));
        for (int i = 0; i < readOnly; ++i) {
            EXPECT_TRUE(files.CopyFileByStream(Staged(i), Target(i))) << i;
            EXPECT_FALSE(Exists(Target(readOnly + 1))) << "nothing is in place before its turn";
        }
        EXPECT_FALSE(files.CopyFileByStream(Staged(readOnly), Target(readOnly)));
        files.DropAnnouncedCopies();
        EXPECT_THAT(OwnTemporaries(), IsEmpty());
    }
    for (int i = 0; i < readOnly; ++i)
        EXPECT_EQ(ScratchFolder::Read(Target(i)), Bytes(i)) << i;
    EXPECT_EQ(ScratchFolder::Read(Target(readOnly)), "old");
    for (int i = readOnly + 1; i < count; ++i)
        EXPECT_FALSE(Exists(Target(i))) << i;
    SetFileAttributesA(Target(readOnly).c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A source that cannot be opened raises, in its turn, the error of a copy made then; one source copied
// twice (each copy opens it with no sharing, so two workers may meet) installs both times.
TEST_F(CopiesAheadTest, SourceErrorsAreThoseOfACopyMadeInTurn)
{
    ASSERT_TRUE(ScratchFolder::Write(Staged(0), Bytes(0)));
    std::string missingText;
    try {
        CopyFileByStream(Staged(1), Target(1));
    } catch (const EAppError& error) {
        missingText = error.what();
    }
    ASSERT_FALSE(missingText.empty());
    {
        const TemporariesScope run;
        UpdateFilesWin32 files;
        for (int round = 0; round < 4; ++round) {
            files.AnnounceCopy(Staged(0), Target(0));
            files.AnnounceCopy(Staged(0), Target(2));
            files.AnnounceCopy(Staged(1), Target(1));
            files.AnnounceCopy(Staged(0), Target(3));
            EXPECT_TRUE(files.CopyFileByStream(Staged(0), Target(0)));
            EXPECT_TRUE(files.CopyFileByStream(Staged(0), Target(2)));
            try {
                files.CopyFileByStream(Staged(1), Target(1));
                ADD_FAILURE() << "a missing source raises";
            } catch (const EFOpenError& error) {
                EXPECT_EQ(std::string(error.what()), missingText);
            }
            EXPECT_TRUE(files.CopyFileByStream(Staged(0), Target(3)));
        }
        EXPECT_THAT(OwnTemporaries(), IsEmpty());
    }
    for (int i : {0, 2, 3})
        EXPECT_EQ(ScratchFolder::Read(Target(i)), Bytes(0)) << i;
    EXPECT_FALSE(Exists(Target(1)));
}

// A copy that cannot be written ahead (the disk too full for several copies at once) is no copy failure:
// it is made again in its turn, and nothing more is copied ahead in that run, so a disk that holds one
// copy at a time suffices.
TEST_F(CopiesAheadTest, ACopyThatCannotBeWrittenAheadIsMadeInTurnAndStopsTheCopiesAhead)
{
    const int count = 6;
    for (int i = 0; i < count; ++i)
        ASSERT_TRUE(ScratchFolder::Write(Staged(i), Bytes(i)));
    std::atomic<int> writtenAhead{0};
    const auto diskFull = [&](const std::string&, const std::string&) {
        ++writtenAhead;
        SetLastError(ERROR_DISK_FULL);
        return std::unique_ptr<ReplacementFile>();
    };
    {
        const TemporariesScope run;
        UpdateFilesWin32 files(diskFull);
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(files.AnnounceCopy(Staged(i), Target(i))) << i;
        EXPECT_TRUE(files.CopyFileByStream(Staged(0), Target(0)));
        EXPECT_EQ(files.AnnouncedCopies(), 0u) << "the copies ahead were dropped";
        const int tried = writtenAhead;
        for (int i = 1; i < count; ++i) {
            EXPECT_FALSE(files.AnnounceCopy(Staged(i), Target(i))) << i;
            EXPECT_TRUE(files.CopyFileByStream(Staged(i), Target(i))) << i;
        }
        EXPECT_EQ(writtenAhead, tried) << "nothing more was written ahead";
        EXPECT_THAT(OwnTemporaries(), IsEmpty());
    }
    for (int i = 0; i < count; ++i)
        EXPECT_EQ(ScratchFolder::Read(Target(i)), Bytes(i)) << i;
}
