#include "app/ErrorText.h"

#include <gtest/gtest.h>

TEST(ErrorText, AppendsAFullStopOnlyAfterACharacterThatSortsAfterIt)
{
    const struct {
        const char* message;
        const char* shown;
    } cases[] = {
        {"", ""},
        {"Stream write error", "Stream write error."},
        {"Error 5", "Error 5."},
        {"/", "/."},
        {"Done.", "Done."},
        {"Failed!", "Failed!"},
        {"(see log)", "(see log)"},
        {"Ends in a blank ", "Ends in a blank "},
        {"dash-", "dash-"},
        {"comma,", "comma,"},
        {"\xD5\xD2\xB2\xBB\xB5\xBD\xCE\xC4\xBC\xFE", "\xD5\xD2\xB2\xBB\xB5\xBD\xCE\xC4\xBC\xFE."}, // 找不到文件
        {"\xCE\xC4\xBC\xFE\xA1\xA3", "\xCE\xC4\xBC\xFE\xA1\xA3."},                                 // 文件。
        // A lead byte takes the next byte with it, so a malformed pair ending in "." is one double-byte
        // character and still gets the full stop.
        {"ab\x81.", "ab\x81.."},
        // A trailing lead byte on its own is a single byte above 0x2E.
        {"ab\x81", "ab\x81."},
        // "\x81\x81" is one character, so the "." after it ends the message.
        {"\x81\x81.", "\x81\x81."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorText(c.message), c.shown) << c.message;
}
