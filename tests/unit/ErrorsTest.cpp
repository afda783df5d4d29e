#include "common/Errors.h"

#include <gtest/gtest.h>

TEST(TrimSystemReason, RemovesTrailingBlanksControlsAndFullStopsOnly)
{
    const struct {
        const char* raw;
        const char* trimmed;
    } cases[] = {
        {"The system cannot find the file specified.\r\n", "The system cannot find the file specified"},
        {"\xD5\xD2\xB2\xBB\xB5\xBD\xCE\xC4\xBC\xFE\xA1\xA3\r\n", "\xD5\xD2\xB2\xBB\xB5\xBD\xCE\xC4\xBC\xFE\xA1\xA3"}, // 找不到文件。
        {"Done...  \t", "Done"},
        {"", ""},
        {". .\r\n", ""},
        {"Access denied!", "Access denied!"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TrimSystemReason(c.raw), c.trimmed) << c.raw;
}

TEST(FileErrors, QuoteThePathAndTheTrimmedReason)
{
    EXPECT_STREQ(EFOpenError("C:\\app\\Update\\UpFile.Dat", "Not found.\r\n").what(),
                 "Cannot open file \"C:\\app\\Update\\UpFile.Dat\". Not found");
    EXPECT_STREQ(EFCreateError("C:\\app\\UpLog.dat", "Access denied.").what(),
                 "Cannot create file \"C:\\app\\UpLog.dat\". Access denied");
    EXPECT_STREQ(EWriteError().what(), "Stream write error");
}
