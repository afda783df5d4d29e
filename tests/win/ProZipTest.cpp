#include "archive/ProZipBinding.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace {

const std::string Chinese = "\xC9\xFD\xBC\xB6\\";             // 升级\ (a GBK folder name)
const std::string ExamTxt = "\xBF\xBC\xCA\xD4.txt";           // 考试.txt
const std::string ExamZip = "\xBF\xBC\xCA\xD4\xD7\xCA\xC1\xCF.zip"; // 考试资料.zip
const std::string OldContent = "old content\r\n";

std::string Repeat(const std::string& text, int times)
{
    std::string result;
    for (int i = 0; i < times; ++i)
        result += text;
    return result;
}

std::string FixturePath(const std::string& name)
{
    std::string path = std::string("Z:") + FIXTURES_DIR + "/zip/" + name;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::string ReadBytes(const std::string& path)
{
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    return bytes;
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::set<std::string> FolderEntries(const std::string& folder)
{
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    const HANDLE find = FindFirstFileA((folder + "*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.insert(name);
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return names;
}

// A fresh application-like folder with a GBK-named sub-folder, removed afterwards.
class ProZipTest : public testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH + 1];
        GetTempPathA(sizeof temp, temp);
        static int serial = 0;
        root_ = std::string(temp) + "ProZipTest" + std::to_string(GetCurrentProcessId()) + "_" +
                std::to_string(++serial) + "\\";
        ASSERT_TRUE(CreateDirectoryA(root_.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA((root_ + Chinese).c_str(), nullptr));
    }
    void TearDown() override
    {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root_))
            SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        std::filesystem::remove_all(root_);
    }

    // Copies a fixture archive into the folder under the given relative name; gives its full path.
    std::string Stage(const std::string& fixture, const std::string& name)
    {
        const std::string path = root_ + name;
        EXPECT_TRUE(CopyFileA(FixturePath(fixture).c_str(), path.c_str(), FALSE)) << fixture;
        return path;
    }

    std::string root_;
};

TEST_F(ProZipTest, ExtractsTheMemberAndReplacesTheTarget)
{
    const struct {
        const char* fixture;
        std::string archive;
        std::string target;
        bool targetExists;
        std::string expected;
    } cases[] = {
        {"Stored.zip", "readmetxt.zip", "readme.txt", false, "stored member\r\n"},
        {"Stored.zip", "readmetxt.zip", "readme.txt", true, "stored member\r\n"},
        {"Deflated.zip", "QeltoExamexe.zip", "QeltoExam.exe", true, Repeat("exam client build 2\n", 400)},
        {"Several.zip", "data_mdb.zip", "data.mdb", false, Repeat("database bytes ", 50)},
        {"ChineseUtf8.zip", Chinese + ExamZip, Chinese + ExamTxt, true,
         Repeat("\xBF\xBC\xCA\xD4\xD7\xCA\xC1\xCF\r\n", 40)}, // 考试资料
        {"ChineseGbk.zip", Chinese + ExamZip, Chinese + ExamTxt, false,
         Repeat("\xBF\xBC\xCA\xD4\xD7\xCA\xC1\xCF\r\n", 40)}, // 考试资料
    };
    for (const auto& c : cases) {
        const std::string target = root_ + c.target;
        DeleteFileA(target.c_str());
        if (c.targetExists)
            WriteBytes(target, OldContent);
        const std::string archive = Stage(c.fixture, c.archive);
        const std::size_t nameStart = target.rfind('\\') + 1;
        std::set<std::string> expectedEntries = FolderEntries(target.substr(0, nameStart));
        expectedEntries.insert(target.substr(nameStart));

        EXPECT_NE(CallProZip(archive, target, 1), -1) << c.fixture;
        EXPECT_EQ(ReadBytes(target), c.expected) << c.fixture;
        EXPECT_EQ(FolderEntries(target.substr(0, nameStart)), expectedEntries)
            << c.fixture << ": nothing left beside the target";
    }
}

TEST_F(ProZipTest, LeavesTheTargetUntouchedOnFailure)
{
    const std::string target = root_ + "readme.txt";
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
        WriteBytes(target, OldContent);
        SetFileAttributesA(target.c_str(), c.targetAttributes);
        const std::string archive = c.fixture ? Stage(c.fixture, "readmetxt.zip") : root_ + "absent.zip";
        const std::set<std::string> before = FolderEntries(root_);

        EXPECT_EQ(CallProZip(archive, target, c.mode), -1) << c.why;
        EXPECT_EQ(ReadBytes(target), OldContent) << c.why;
        EXPECT_EQ(FolderEntries(root_), before) << c.why << ": no temporary file left";
        DeleteFileA(archive.c_str());
    }
}

TEST_F(ProZipTest, FailsWhenTheTargetCannotBeWritten)
{
    const std::string archive = Stage("Stored.zip", "readmetxt.zip");
    const std::string folderTarget = root_ + "readme.txt";
    ASSERT_TRUE(CreateDirectoryA(folderTarget.c_str(), nullptr));
    const std::set<std::string> before = FolderEntries(root_);

    EXPECT_EQ(CallProZip(archive, folderTarget, 1), -1) << "target is a folder";
    EXPECT_EQ(CallProZip(archive, root_ + "missing\\readme.txt", 1), -1) << "target's folder is missing";
    EXPECT_EQ(FolderEntries(root_), before);
    EXPECT_TRUE(FolderEntries(folderTarget + "\\").empty());
}

} // namespace
