#include "common/AsciiUpper.h"
#include "common/Decipher.h"
#include "common/UnitPublic.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

TEST(AsciiUpperCase, ChangesOnlyAsciiLowerCaseLetters)
{
    EXPECT_EQ(AsciiUpperCase("-ur"), "-UR");
    EXPECT_EQ(AsciiUpperCase("qeltoexam.EXE 09@[`{"), "QELTOEXAM.EXE 09@[`{");
    // GBK "考试" (BF BC CA D4) and high bytes stay as they are.
    EXPECT_EQ(AsciiUpperCase("\xBF\xBC\xCA\xD4z\xE1"s), "\xBF\xBC\xCA\xD4Z\xE1"s);
}

TEST(HexToText, DecodesDigitPairsOrGivesEmptyForAnyNonDigit)
{
    const struct {
        std::string text;
        std::string bytes;
    } cases[] = {
        {"", ""},
        {"4A6F", "Jo"},
        {"4a6f", "Jo"},
        {"00FF", "\x00\xFF"s},
        {"414", "A\x04"s},
        {"f", "\x0F"},
        {" 41", ""},
        {"41 ", ""},
        {"4-41", ""},
        {"+4", ""},
        {"4G", ""},
        {"4g", ""},
        {"41\x00" "41"s, ""},
        {"\xC1\x41", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HexToText(c.text), c.bytes) << '"' << c.text << '"';
}

// Expected values worked out by hand from the key schedule: mask = key >> 12, then key * 19 + 17 for a
// byte equal to the mask, else (key + enciphered byte) * 19 + 17, modulo 65536.
TEST(DecipherText, FollowsTheKeySchedule)
{
    const struct {
        const char* why;
        std::uint16_t key;
        std::string text;
        std::string plain;
    } cases[] = {
        {"empty text", 0xB7A5, "", ""},
        {"not hexadecimal", 0xB7A5, "4Z", ""},
        {"NUL byte is masked like any other", 0xB7A5, "00", "\x0B"},
        {"lower-case digits, odd count", 0xB7A5, "41420f", "\x4A\x48\x0A"},
        {"top four bits zero: first byte unchanged", 0x0FFF, "4142", "AA"},
        // 02 equals mask 2 and passes; the next key is 0x2A1A * 19 + 17 = 0x1FFF (mask 1), whereas
        // adding the byte would give 0x2025 (mask 2).
        {"byte equal to the mask passes and leaves the key update", 0x2A1A, "0241", "\x02\x40"},
        {"key update adds the enciphered byte, not the plain one", 0x5242, "4141", "\x44\x40"},
        {"key wraps at every update", 0xFFFF, "000000", "\x0F\x0F\x0F"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecipherText(c.text, c.key), c.plain) << c.why;
}

// The stored texts were made by tools/encipher.py from these plain values.
TEST(UnitPublic, StoredTextsDecipherToTheirPlainValues)
{
    EXPECT_NE(CipherKey >> 12, 0);
    const struct {
        const char* stored;
        std::size_t digits;
        const char* plain;
    } cases[] = {
        {LaunchParameters, 22, "/FromUpdate"},
        {ServerAddressCode, 16, "10.0.0.8"},
        {DatabaseUserCode, 12, "qexam1"},
        {CatalogCode, 50, "Initial Catalog=QeltoExam"},
        {ServicePathCode, 48, "/ExamService/Update.asmx"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(std::string(c.stored).size(), c.digits) << c.plain;
        EXPECT_EQ(AsciiUpperCase(c.stored), c.stored) << c.plain;
        EXPECT_EQ(DecipherText(c.stored, CipherKey), c.plain);
    }
}
