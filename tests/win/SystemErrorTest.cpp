#include "common/SystemError.h"

#include <gtest/gtest.h>

// Under the Chinese locale the system's texts are GBK and end in the ideographic full stop, which stays.
TEST(SystemErrorText, GivesTheSystemsGbkTextTrimmed)
{
    EXPECT_EQ(SystemErrorText(2), "\xD5\xD2\xB2\xBB\xB5\xBD\xCE\xC4\xBC\xFE\xA1\xA3"); // 找不到文件。
}
