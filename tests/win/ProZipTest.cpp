#include "archive/ProZipBinding.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <type_traits>

#include "common/AsideName.h"
#include "common/HandlesWin32.h"
#include "common/WideTextWin32.h"
#include "support/FixturePath.h"
#include "support/ScratchFolder.h"
#include "support/UpdaterRun.h"
#include "tkzip/ProZip.h"

namespace {

const std::string ExamTxt = "\xBF\xBC\xCA\xD4.txt";                 // 考试.txt
const std::string ExamZip = "\xBF\xBC\xCA\xD4\xD7\xCA\xC1\xCF.zip"; // 考试资料.zip
const std::string ExamText = "\xBF\xBC\xCA\xD4\xD7\xCA\xC1\xCF\r\n"; // 考试资料
const std::string OldContent = "old content\r\n";

std::string Repeat(const std::string& text, int times)
{
    std::string result;
    for (int i = 0; i < times; ++i)
        result += text;
    return result;
}

// The names of the files in the folder.
std::vector<std::wstring> NamesIn(const std::string& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    const FindHandle find(FindFirstFileW(WideText(folder + "*.*", CP_ACP).c_str(), &found));
    for (bool more = find.Valid(); more; more = FindNextFileW(find.Get(), &found) != 0)
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            names.push_back(found.cFileName);
    return names;
}

std::vector<std::string> With(std::vector<std::string> names, const std::string& name)
{
    names.push_back(name);
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

// An application-like folder, and one whose name is GBK (升级-...) for the Chinese paths.
class ProZipTest : public testing::Test {
protected:
    // Copies a fixture archive into the folder; gives its full path.
    static std::string Stage(const ScratchFolder& folder, const char* fixture, const std::string& name)
    {
        const std::string path = folder.Path() + name;
        EXPECT_TRUE(CopyFileA(FixturePath(std::string("zip/") + fixture).c_str(), path.c_str(), FALSE)) << fixture;
        return path;
    }

    ScratchFolder folder_{"ProZip"};
    ScratchFolder chineseFolder_{"\xC9\xFD\xBC\xB6"}; // 升级
};

TEST_F(ProZipTest, ExtractsTheMemberAndReplacesTheTarget)
{
    const struct {
        const char* fixture;
        bool chinese;
        std::string archive;
        std::string target;
        bool targetExists;
        std::string expected;
    } cases[] = {
        {"Stored.zip", false, "readmetxt.zip", "readme.txt", false, "stored member\r\n"},
        {"Stored.zip", false, "readmetxt.zip", "readme.txt", true, "stored member\r\n"},
        {"Deflated.zip", false, "QeltoExamexe.zip", "QeltoExam.exe", true, Repeat("exam client build 2\n", 400)},
        {"Several.zip", false, "data_mdb.zip", "data.mdb", false, Repeat("database bytes ", 50)},
        {"ChineseUtf8.zip", true, ExamZip, ExamTxt, true, Repeat(ExamText, 40)},
        {"ChineseGbk.zip", true, ExamZip, ExamTxt, false, Repeat(ExamText, 40)},
    };
    for (const auto& c : cases) {
        const ScratchFolder& folder = c.chinese ? chineseFolder_ : folder_;
        const std::string target = folder.Path() + c.target;
        DeleteFileA(target.c_str());
        if (c.targetExists)
            ScratchFolder::Write(target, OldContent);
        const std::string archive = Stage(folder, c.fixture, c.archive);
        const std::vector<std::string> expectedNames = With(folder.Names(), c.target);

        EXPECT_NE(CallProZip(archive, target, 1), -1) << c.fixture;
        EXPECT_EQ(ScratchFolder::Read(target), c.expected) << c.fixture;
        EXPECT_EQ(folder.Names(), expectedNames) << c.fixture << ": nothing left beside the target";
    }
}

TEST_F(ProZipTest, KeepsTheReplacedTargetsAttributes)
{
    const std::string target = folder_.Path() + "readme.txt";
    ScratchFolder::Write(target, OldContent);
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_HIDDEN);

    EXPECT_NE(CallProZip(Stage(folder_, "Stored.zip", "readmetxt.zip"), target, 1), -1);
    EXPECT_EQ(ScratchFolder::Read(target), "stored member\r\n");
    EXPECT_EQ(GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_HIDDEN, DWORD{FILE_ATTRIBUTE_HIDDEN});
}

TEST_F(ProZipTest, LeavesTheTargetUntouchedOnFailure)
{
    const std::string target = folder_.Path() + "readme.txt";
    const struct {
        const char* why;
        const char* fixture;
        int mode;
        DWORD targetAttributes;
    } cases[] = {
        {"missing archive", nullptr, 1, FILE_ATTRIBUTE_NORMAL},
        {"not an archive", "NotAnArchive.zip", 1, FILE_ATTRIBUTE_NORMAL},
        {"CRC mismatch", "BadCrc.zip", 1, FILE_ATTRIBUTE_NORMAL},
        {"several members, none named readme.txt", "NoMatch.zip", 1, FILE_ATTRIBUTE_NORMAL},
        {"mode 2", "Stored.zip", 2, FILE_ATTRIBUTE_NORMAL},
        {"mode 0", "Stored.zip", 0, FILE_ATTRIBUTE_NORMAL},
        {"read-only target", "Stored.zip", 1, FILE_ATTRIBUTE_READONLY},
    };
    for (const auto& c : cases) {
        SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        ScratchFolder::Write(target, OldContent);
        SetFileAttributesA(target.c_str(), c.targetAttributes);
        const std::string archive =
            c.fixture ? Stage(folder_, c.fixture, "readmetxt.zip") : folder_.Path() + "absent.zip";
        const std::vector<std::string> before = folder_.Names();

        EXPECT_EQ(CallProZip(archive, target, c.mode), -1) << c.why;
        EXPECT_EQ(ScratchFolder::Read(target), OldContent) << c.why;
        EXPECT_EQ(folder_.Names(), before) << c.why << ": no temporary file left";
        DeleteFileA(archive.c_str());
    }
}

// Windows refuses to rename onto a file that another program holds open; under Wine our own check does.
TEST_F(ProZipTest, LeavesATargetHeldOpenByAnotherProgramUntouched)
{
    const std::string archive = Stage(folder_, "Stored.zip", "readmetxt.zip");
    const std::string target = folder_.Path() + "readme.txt";
    ScratchFolder::Write(target, OldContent);
    const std::vector<std::string> before = folder_.Names();
    {
        const FileHandle held(
            CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(held);
        EXPECT_EQ(CallProZip(archive, target, 1), -1);
    }
    EXPECT_EQ(ScratchFolder::Read(target), OldContent);
    EXPECT_EQ(folder_.Names(), before) << "no temporary file left";
}

TEST_F(ProZipTest, FailsWhenTheTargetCannotBeWritten)
{
    const std::string archive = Stage(folder_, "Stored.zip", "readmetxt.zip");
    const std::string folderTarget = folder_.Path() + "readme.txt";
    ASSERT_TRUE(CreateDirectoryA(folderTarget.c_str(), nullptr));
    const std::vector<std::string> before = folder_.Names();

    EXPECT_EQ(CallProZip(archive, folderTarget, 1), -1) << "target is a folder";
    EXPECT_EQ(CallProZip(archive, folder_.Path() + "missing\\readme.txt", 1), -1) << "target's folder is missing";
    EXPECT_EQ(folder_.Names(), before);
    EXPECT_TRUE(RemoveDirectoryA(folderTarget.c_str())) << "the folder stays empty";
}

// A new TkZip.dll extracted by the TkZip.dll in use: a copy loaded from an application folder replaces its
// own file, is renamed aside into the temporaries folder there, and goes on working from that image. A
// read-only one is refused as any read-only target is.
TEST_F(ProZipTest, ReplacesItsOwnLoadedFileUnlessReadOnlyAndGoesOnWorking)
{
    ScratchFolder application("ProZipSelf");
    const std::string library = application.Path() + "TkZip.dll";
    ASSERT_TRUE(CopyFileA((ProgramsFolder() + "TkZip.dll").c_str(), library.c_str(), FALSE));
    const std::string oldBytes = ScratchFolder::Read(library);
    const std::unique_ptr<std::remove_pointer_t<HMODULE>, decltype(&FreeLibrary)> loaded(LoadLibraryA(library.c_str()),
                                                                                        FreeLibrary);
    ASSERT_NE(loaded, nullptr);
    ASSERT_NE(loaded.get(), GetModuleHandleA("TkZip.dll")) << "a second image, not the test program's own";
    const auto proZip =
        reinterpret_cast<decltype(&ProZip)>(reinterpret_cast<void*>(GetProcAddress(loaded.get(), "ProZip")));
    const std::wstring archive = WideText(Stage(application, "Stored.zip", "TkZip_dll.zip"), CP_ACP);
    const std::string temporaries = application.Path() + "Update\\~upd\\";

    SetFileAttributesA(library.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(proZip(archive.c_str(), WideText(library, CP_ACP).c_str(), 1), -1) << "read-only";
    EXPECT_TRUE(ScratchFolder::Read(library) == oldBytes);
    EXPECT_TRUE(NamesIn(temporaries).empty()) << "nothing put aside";
    SetFileAttributesA(library.c_str(), FILE_ATTRIBUTE_NORMAL);

    EXPECT_EQ(proZip(archive.c_str(), WideText(library, CP_ACP).c_str(), 1), 0);
    EXPECT_EQ(ScratchFolder::Read(library), "stored member\r\n");
    const std::string readme = application.Path() + "readme.txt";
    EXPECT_EQ(proZip(archive.c_str(), WideText(readme, CP_ACP).c_str(), 1), 0) << "the image aside goes on extracting";
    EXPECT_EQ(ScratchFolder::Read(readme), "stored member\r\n");
    const std::vector<std::wstring> asides = NamesIn(temporaries);
    ASSERT_EQ(asides.size(), 1u);
    std::wstring origin;
    EXPECT_TRUE(AsideOrigin(asides[0], origin));
    EXPECT_EQ(origin, L"TkZip.dll");
    EXPECT_EQ(asides[0].rfind(std::to_wstring(GetCurrentProcessId()) + L"-", 0), 0u) << "named for its process";
    EXPECT_TRUE(ScratchFolder::Read(temporaries + std::string(asides[0].begin(), asides[0].end())) == oldBytes);
}

} // namespace
