// The version resources of the shipped images, read back from the built Update.exe and TkZip.dll through the
// version API as Explorer and inventory tools read them: the numbers of VERSION, the Chinese (PRC) code page
// 936 translation, and each text as GBK under it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "UpdaterVersion.h"
#include "support/UpdaterRun.h"

namespace {

const char ProductName[] = "\xD4\xDA\xCF\xDF\xBF\xBC\xCA\xD4\xC6\xBD\xCC\xA8 \xC9\xFD\xBC\xB6\xB3\xCC\xD0\xF2"; // 在线考试平台 升级程序
const char Copyright[] = "\xB0\xE6\xC8\xA8\xCB\xF9\xD3\xD0 (C) 2026 Marovin"; // 版权所有 (C) 2026 Marovin

struct Image {
    const char* name;
    DWORD fileType;
    const char* description;
};

const Image Images[] = {
    {"Update.exe", VFT_APP, "\xBF\xBC\xCA\xD4\xBF\xCD\xBB\xA7\xB6\xCB\xC9\xFD\xBC\xB6\xB3\xCC\xD0\xF2"}, // 考试客户端升级程序
    {"TkZip.dll", VFT_DLL, "\xBF\xBC\xCA\xD4\xD7\xE9\xBC\xFE\xBD\xE2\xD1\xB9\xBF\xE2"},                   // 考试组件解压库
};

// The image's whole version resource.
std::vector<char> VersionResource(const std::string& path)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    std::vector<char> block(size);
    if (size == 0 || !GetFileVersionInfoA(path.c_str(), 0, size, block.data()))
        block.clear();
    return block;
}

// The value at the sub-block path, as ANSI text for a string; empty when absent.
std::string Value(std::vector<char>& block, const std::string& subBlock)
{
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), subBlock.c_str(), &value, &length) || length == 0)
        return {};
    return static_cast<const char*>(value);
}

TEST(VersionInfoTest, BothImagesCarryTheVersionAndTheChineseTexts)
{
    const std::string version = UPDATER_VERSION_TEXT;
    for (const Image& image : Images) {
        SCOPED_TRACE(image.name);
        std::vector<char> block = VersionResource(ProgramsFolder() + image.name);
        ASSERT_FALSE(block.empty()) << "no version resource";

        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
        EXPECT_EQ(fixed->dwSignature, VS_FFI_SIGNATURE);
        const DWORD high = MAKELONG(UPDATER_VERSION_MINOR, UPDATER_VERSION_MAJOR);
        const DWORD low = MAKELONG(0, UPDATER_VERSION_PATCH);
        EXPECT_EQ(fixed->dwFileVersionMS, high);
        EXPECT_EQ(fixed->dwFileVersionLS, low);
        EXPECT_EQ(fixed->dwProductVersionMS, high);
        EXPECT_EQ(fixed->dwProductVersionLS, low);
        EXPECT_EQ(fixed->dwFileType, image.fileType);

        WORD* translation = nullptr;
        ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                                   &length));
        ASSERT_EQ(length, 4u);
        EXPECT_EQ(translation[0], 0x0804);
        EXPECT_EQ(translation[1], 936);

        const std::string strings = "\\StringFileInfo\\080403A8\\";
        EXPECT_EQ(Value(block, strings + "FileVersion"), version);
        EXPECT_EQ(Value(block, strings + "ProductVersion"), version);
        EXPECT_EQ(Value(block, strings + "ProductName"), ProductName);
        EXPECT_EQ(Value(block, strings + "FileDescription"), image.description);
        EXPECT_EQ(Value(block, strings + "LegalCopyright"), Copyright);
        EXPECT_EQ(Value(block, strings + "OriginalFilename"), image.name);
    }
}

} // namespace
