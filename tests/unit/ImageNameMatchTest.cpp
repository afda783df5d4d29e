#include "common/ImageNameMatch.h"

#include <gtest/gtest.h>

namespace {

bool IsGbkLeadByte(unsigned char byte)
{
    return byte >= 0x81 && byte <= 0xFE;
}

bool NoLeadBytes(unsigned char)
{
    return false;
}

// A GBK character whose second byte is 0x5C, the byte of "\".
const char* const GbkNameWithBackslashTrail = "\xB1\x5C" "exam.exe"; // 盶exam.exe

TEST(ImageNameMatches, ComparesFileNamePartThenWholeImageNameIgnoringAsciiCase)
{
    const struct {
        const char* imageName;
        const char* name;
        bool matches;
    } cases[] = {
        {"QeltoExam.exe", "QeltoExam.exe", true},
        {"QELTOEXAM.EXE", "qeltoexam.exe", true},
        {"qeltoexam.exe", "QeltoExam.exe", true},
        {"QeltoExam.ex", "QeltoExam.exe", false},
        {"QeltoExam.exe ", "QeltoExam.exe", false},
        {"C:\\Exam\\QeltoExam.exe", "QeltoExam.exe", true},
        {"C:QeltoExam.exe", "QELTOEXAM.EXE", true},
        {"C:\\Exam\\QeltoExam.exe\\", "QeltoExam.exe", false},
        {"C:\\Exam\\QeltoExam.exe", "c:\\exam\\QELTOEXAM.EXE", true},
        {"C:\\Other\\QeltoExam.exe", "C:\\Exam\\QeltoExam.exe", false},
        {"QeltoExam.exe", "C:\\Exam\\QeltoExam.exe", false},
        {"\xC0\xFA.exe", "\xE0\xDA.exe", false}, // 历.exe / 嘹.exe: bytes of 0x80 and above are never folded
        {"\xC0\x61.exe", "\xC0\x41.EXE", true},  // 繿.exe / 繟.EXE: a second byte in a..z is folded alike
    };
    for (const auto& c : cases)
        EXPECT_EQ(ImageNameMatches(c.imageName, c.name, IsGbkLeadByte), c.matches)
            << c.imageName << " / " << c.name;
}

TEST(ImageFileNamePart, GbkSecondByteIsNoSeparator)
{
    const std::string folder = std::string("C:\\") + GbkNameWithBackslashTrail; // C:\盶exam.exe
    EXPECT_EQ(ImageFileNamePart(folder, IsGbkLeadByte), GbkNameWithBackslashTrail);
    EXPECT_EQ(ImageFileNamePart(folder, NoLeadBytes), "exam.exe");
    // A colon as the second byte neither (0x81 0x3A: a lead byte and a colon, not a valid character).
    EXPECT_EQ(ImageFileNamePart("D:\\\x81:a.exe", IsGbkLeadByte), "\x81:a.exe");
    // A lead byte as the last byte has no second byte to hide.
    EXPECT_EQ(ImageFileNamePart("dir\\\xB1", IsGbkLeadByte), "\xB1");
    EXPECT_EQ(ImageFileNamePart("", IsGbkLeadByte), "");
}

TEST(ImageNameMatches, GbkImageNameMatchesOnlyItsWholeFileName)
{
    const std::string imageName = std::string("C:\\") + GbkNameWithBackslashTrail;
    EXPECT_TRUE(ImageNameMatches(imageName, GbkNameWithBackslashTrail, IsGbkLeadByte));
    EXPECT_FALSE(ImageNameMatches(imageName, "EXAM.EXE", IsGbkLeadByte));
}

} // namespace
