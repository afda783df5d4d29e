#include "update/ApplierLockName.h"

#include <gtest/gtest.h>

#include <regex>

TEST(ApplierLockName, IsTheGlobalPrefixAndSixteenHexDigitsWithoutAnyOtherBackslash)
{
    for (const char* folder : {"C:\\Exam\\", "", "\\\\server\\share\\exam\\", "D:\\\xBF\xBC\xCA\xD4\\"})
        EXPECT_TRUE(std::regex_match(ApplierLockName(folder), std::regex(R"(Global\\QeltoExamUpdate-[0-9A-F]{16})")))
            << ApplierLockName(folder);
}

TEST(ApplierLockName, NamesOneFolderWhateverTheCaseOfItsAsciiLetters)
{
    const struct {
        const char* a;
        const char* b;
        bool same;
    } cases[] = {
        {"C:\\Exam\\", "c:\\EXAM\\", true},
        {"C:\\Exam\\", "C:\\Exam2\\", false},
        {"C:\\Exam\\", "D:\\Exam\\", false},
        {"C:\\\xBF\xBC\\", "c:\\\xBF\xBC\\", true},
        // Two double-byte characters whose trail bytes are "a" and "A": different folders.
        {"C:\\\x81\x61\\", "C:\\\x81\x41\\", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ApplierLockName(c.a) == ApplierLockName(c.b), c.same) << c.a << " / " << c.b;
}
