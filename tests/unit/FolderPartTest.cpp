#include "common/FolderPart.h"

#include <gtest/gtest.h>

TEST(FolderPart, EndsAtTheLastBackslashOrColon)
{
    const struct {
        const char* path;
        const char* folder;
    } cases[] = {
        {"C:\\Program Files\\Exam\\Update.exe", "C:\\Program Files\\Exam\\"},
        {"C:Update.exe", "C:"},
        {"C:\\app\\Sub\\", "C:\\app\\Sub\\"},
        {"C:\\a:b", "C:\\a:"},
        {"Update.exe", ""},
        {"C:\\app/Sub/x.txt", "C:\\"}, // "/" is not a cut
        {"C:\\\xD5\x5C\\a\xD5\x5C", "C:\\\xD5\x5C\\"}, // 誠: its second byte is no "\"
    };
    for (const auto& c : cases)
        EXPECT_EQ(FolderPartOf(c.path), c.folder) << c.path;
}
