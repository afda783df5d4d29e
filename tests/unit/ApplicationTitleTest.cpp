#include "app/ApplicationTitle.h"

#include <gtest/gtest.h>

namespace {

// Marks the part handed to the lower-casing, so the test sees exactly what was cut and what was folded.
std::string Marked(const std::string& text)
{
    return "<" + text + ">";
}

} // namespace

TEST(ApplicationTitle, CutsAfterTheLastBackslashAndAtTheFirstDot)
{
    const struct {
        const char* path;
        const char* title;
    } cases[] = {
        {"C:\\Program Files\\Exam\\Update.exe", "U<pdate>"},
        {"C:\\Exam\\Up.Date.exe", "U<p>"},
        {"C:\\Exam.Dir\\Sub.X\\Update", "U<pdate>"},
        {"Update.exe", "U<pdate>"},
        {"C:\\Exam\\.exe", ""},
        {"C:\\Exam\\", ""},
        {"C:\\Exam\\U.exe", "U<>"},
        {"C:\\Exam\\\xD6\xD0\xCE\xC4Up.exe", "\xD6\xD0<\xCE\xC4Up>"}, // 中文Up.exe: the first character is 中
        {"C:\\Exam\\\xD6.exe", "\xD6<>"},                                // a lone lead byte is one character
        {"C:\\Exam\\\x95\\Up.exe", "\x95\\<Up>"},                    // a 0x5C trail byte is no separator
    };
    for (const auto& c : cases)
        EXPECT_EQ(ApplicationTitle(c.path, Marked), c.title) << c.path;
}
