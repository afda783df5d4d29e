// CopyFileByStream on real files under Wine with the Chinese locale.
#include <windows.h>

#include <sddl.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/Errors.h"
#include "common/HandlesWin32.h"
#include "common/SystemError.h"
#include "common/TemporariesWin32.h"
#include "common/UnitPublic.h"
#include "support/ScratchFolder.h"

namespace {

// 升级 and 文件.txt: GBK names as the manifest gives them.
const std::string kChineseFolder = "\xC9\xFD\xBC\xB6";
const std::string kChineseName = "\xCE\xC4\xBC\xFE.txt";

FileHandle Hold(const std::string& path)
{
    return FileHandle(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

// Bytes that differ from offset to offset, so a shifted or repeated chunk shows.
std::string Pattern(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 2654435761u) >> 13);
    return bytes;
}

class CopyFileByStreamTest : public ::testing::Test {
protected:
    ScratchFolder folder{"CopyFileByStreamTest"};
    const std::string source = folder.Path() + "source.bin";
    const std::string target = folder.Path() + "target.bin";
};

} // namespace

TEST_F(CopyFileByStreamTest, TargetGetsTheSourcesBytesAndNoTemporaryFileRemains)
{
    const struct {
        const char* name;
        std::string bytes;
        bool oldTarget;
    } cases[] = {
        {"over an old target", "new bytes", true},
        {"new target", "new bytes", false},
        {"empty source", "", true},
        {"large file", Pattern(40 * 1024 * 1024 + 123), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileA(target.c_str());
        ASSERT_TRUE(ScratchFolder::Write(source, c.bytes));
        if (c.oldTarget) {
            ASSERT_TRUE(ScratchFolder::Write(target, "old bytes that are longer than the new ones"));
        }

        EXPECT_TRUE(CopyFileByStream(source, target));

        EXPECT_TRUE(ScratchFolder::Read(target) == c.bytes);
        EXPECT_EQ(folder.Names(), (std::vector<std::string>{"source.bin", "target.bin"}));
    }
}

TEST_F(CopyFileByStreamTest, ChineseNamesAreUsedAsGbkBytes)
{
    const std::string sub = folder.Path() + kChineseFolder + "\\";
    ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
    ASSERT_TRUE(ScratchFolder::Write(sub + "Update-" + kChineseName, "gbk"));
    EXPECT_TRUE(CopyFileByStream(sub + "Update-" + kChineseName, sub + kChineseName));
    EXPECT_EQ(ScratchFolder::Read(sub + kChineseName), "gbk");
}

// The file's access rules (DACL) in the security descriptor language; empty when they cannot be read.
std::wstring AccessRules(const std::string& path)
{
    DWORD needed = 0;
    GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    std::vector<unsigned char> descriptor(needed);
    wchar_t* text = nullptr;
    if (needed == 0 || !GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), needed, &needed) ||
        !ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor.data(), SDDL_REVISION_1,
                                                              DACL_SECURITY_INFORMATION, &text, nullptr))
        return L"";
    const std::wstring rules = text;
    LocalFree(text);
    return rules;
}

bool SetAccessRules(const std::string& path, const wchar_t* rules)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(rules, SDDL_REVISION_1, &descriptor, nullptr))
        return false;
    const bool set = SetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, descriptor) != 0;
    LocalFree(descriptor);
    return set;
}

// The replacement is written elsewhere, so it must take the old file's rules before it takes its place.
TEST_F(CopyFileByStreamTest, ExistingTargetKeepsItsAccessRules)
{
    ASSERT_TRUE(ScratchFolder::Write(source, "new"));
    ASSERT_TRUE(ScratchFolder::Write(target, "old"));
    ASSERT_TRUE(SetAccessRules(target, L"D:P(A;;FA;;;WD)(A;;FR;;;BU)"));
    const std::wstring before = AccessRules(target);
    if (before.find(L";BU)") == std::wstring::npos)
        GTEST_SKIP() << "the file system keeps no access rules";
    EXPECT_TRUE(CopyFileByStream(source, target));
    EXPECT_EQ(ScratchFolder::Read(target), "new");
    EXPECT_EQ(AccessRules(target), before);
}

// The copy is written in the temporaries folder: a new target must end with the rules its own folder hands
// down, also when a run has already put files into a folder that hands down other rules.
TEST_F(CopyFileByStreamTest, NewTargetTakesTheRulesItsFolderHandsDown)
{
    const std::string plain = folder.Path() + "plain.bin";
    const std::string ruled = folder.Path() + "Ruled\\";
    ASSERT_TRUE(CreateDirectoryA(ruled.c_str(), nullptr));
    ASSERT_TRUE(SetAccessRules(ruled, L"D:P(A;OICI;FA;;;WD)(A;OICI;FR;;;BU)"));
    if (AccessRules(ruled).find(L";BU)") == std::wstring::npos)
        GTEST_SKIP() << "the file system keeps no access rules";
    ASSERT_TRUE(ScratchFolder::Write(source, "new"));
    const TemporariesScope run;
    for (const std::string& copy : {plain, ruled + "a.bin", ruled + "b.bin", plain + ".2"})
        EXPECT_TRUE(CopyFileByStream(source, copy)) << copy;
    for (const std::string& copy : {ruled + "a.bin", ruled + "b.bin"})
        EXPECT_NE(AccessRules(copy).find(L"(A;ID;FR;;;BU)"), std::wstring::npos) << copy;
    for (const std::string& copy : {plain, plain + ".2"})
        EXPECT_EQ(AccessRules(copy).find(L";BU)"), std::wstring::npos) << copy;
}

TEST_F(CopyFileByStreamTest, ExistingTargetKeepsItsAttributes)
{
    ASSERT_TRUE(ScratchFolder::Write(source, "new"));
    ASSERT_TRUE(ScratchFolder::Write(target, "old"));
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_NE(GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u) << "the file system keeps no attributes";
    EXPECT_TRUE(CopyFileByStream(source, target));
    EXPECT_EQ(ScratchFolder::Read(target), "new");
    EXPECT_NE(GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

TEST_F(CopyFileByStreamTest, SourceThatCannotBeOpenedRaisesWithTheSystemsText)
{
    ASSERT_TRUE(ScratchFolder::Write(target, "old"));
    ASSERT_TRUE(ScratchFolder::Write(source, "new"));
    const FileHandle held = Hold(source);
    ASSERT_TRUE(held);
    const std::string missing = folder.Path() + "missing.bin";
    const struct {
        std::string path;
        DWORD error;
    } cases[] = {{source, ERROR_SHARING_VIOLATION}, {missing, ERROR_FILE_NOT_FOUND}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        try {
            CopyFileByStream(c.path, target);
            ADD_FAILURE() << "no error";
        } catch (const EFOpenError& error) {
            EXPECT_EQ(error.what(), "Cannot open file \"" + c.path + "\". " + SystemErrorText(c.error));
        }
        EXPECT_EQ(ScratchFolder::Read(target), "old");
    }
}

// Copy failures: false, the old target as it was, and no temporary file left behind.
TEST(CopyFileByStream, TargetThatCannotBeReplacedIsACopyFailure)
{
    const struct {
        const char* name;
        const char* target; // in the scratch folder
        std::function<FileHandle(const std::string&)> arrange;
        const char* oldBytes; // what the target still holds; nullptr when it is no file
    } cases[] = {
        {"read-only", "target.bin",
         [](const std::string& t) {
             ScratchFolder::Write(t, "old");
             SetFileAttributesA(t.c_str(), FILE_ATTRIBUTE_READONLY);
             return FileHandle();
         },
         "old"},
        {"held open without sharing", "target.bin",
         [](const std::string& t) {
             ScratchFolder::Write(t, "old");
             return Hold(t);
         },
         "old"},
        {"a folder", "target.bin",
         [](const std::string& t) {
             CreateDirectoryA(t.c_str(), nullptr);
             return FileHandle();
         },
         nullptr},
        {"in a missing folder", "gone\\target.bin", [](const std::string&) { return FileHandle(); }, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder("CopyFileByStreamFailure");
        const std::string source = folder.Path() + "source.bin";
        const std::string target = folder.Path() + c.target;
        ASSERT_TRUE(ScratchFolder::Write(source, "new"));
        FileHandle held = c.arrange(target);
        const std::vector<std::string> before = folder.Names();

        EXPECT_FALSE(CopyFileByStream(source, target));

        EXPECT_EQ(folder.Names(), before);
        held.Reset();
        if (c.oldBytes != nullptr) {
            EXPECT_EQ(ScratchFolder::Read(target), c.oldBytes);
        }
    }
}
