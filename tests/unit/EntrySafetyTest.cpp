#include "update/EntrySafety.h"

#include <gtest/gtest.h>

TEST(EntrySafety, AbsolutePathsAndParentSegmentsAreUnsafe)
{
    const struct {
        const char* name;
        bool unsafe;
    } cases[] = {
        {"C:\\Windows\\evil.dll", true}, {"c:evil.dll", true},   {"\\evil.dll", true},
        {"\\\\server\\share\\x", true},  {"/evil.dll", true},    {"..", true},
        {"..\\evil.dll", true},          {"Sub\\..\\x", true},   {"Sub/../x", true},
        {"Sub\\..", true},               {". .\\x", true},       {"...\\x", true},
        {"Sub\\.. \\x", true},
        {"", false},                     {"readme.txt", false},  {"Sub\\new.txt", false},
        {"a..b.txt", false},             {"..name", false},      {"Sub\\.hidden", false},
        {".\\a.txt", false},             {"1:x", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UnsafePathReason(c.name).has_value(), c.unsafe) << c.name;
}

// A device name in any segment, in any case, with an extension, trailing dots or blanks, or a colon.
TEST(EntrySafety, DeviceNamesAreUnsafeInEverySegment)
{
    const struct {
        const char* name;
        const char* device; // nullptr: an ordinary name
    } cases[] = {
        {"CON", "CON"},         {"con", "CON"},           {"Prn", "PRN"},           {"AUX", "AUX"},
        {"NUL", "NUL"},         {"nul.txt", "NUL"},       {"COM1", "COM1"},         {"com1.dat", "COM1"},
        {"COM9", "COM9"},       {"lpt1", "LPT1"},         {"LPT9.a.b", "LPT9"},     {"Sub\\CON", "CON"},
        {"CON\\x.txt", "CON"},  {"Sub/aux.h", "AUX"},     {"CON.", "CON"},          {"NUL...", "NUL"},
        {"NUL  ", "NUL"},       {"com1 .dat", "COM1"},    {"CON:", "CON"},          {"conin$", "CONIN$"},
        {"CONOUT$.x", "CONOUT$"}, {"a.b\\Com5.dll\\x", "COM5"},
        {"\xD5\\\\nul", "NUL"}, // a GBK character whose second byte is "\\", then a separator
        {"CONFIG.SYS", nullptr}, {"COM10", nullptr},       {"COM0", nullptr},        {"LPT", nullptr},
        {"nullify.txt", nullptr}, {"console.log", nullptr}, {"Sub\\com1x.dat", nullptr}, {"AUXI.dat", nullptr},
        {"my.con", nullptr},     {"nul_txt.zip", nullptr}, {"x.nul", nullptr},       {" CON", nullptr},        {"\xD5\\nul", nullptr},
    };
    for (const auto& c : cases) {
        const std::optional<std::string> reason = UnsafePathReason(c.name);
        if (c.device == nullptr)
            EXPECT_FALSE(reason.has_value()) << c.name;
        else
            EXPECT_EQ(reason, "\"" + std::string(c.name) + "\" names the device \"" + c.device + "\", not a file")
                << c.name;
    }
}

TEST(EntrySafety, RefusalNamesTheEntryAndTheReason)
{
    EXPECT_STREQ(EUnsafeEntry("..\\x", *UnsafePathReason("..\\x")).what(),
                 "Refused unsafe entry \"..\\x\": \"..\\x\" has a \"..\" segment, which may lead outside the "
                 "application folder");
    EXPECT_STREQ(EUnsafeEntry("C:\\x", *UnsafePathReason("C:\\x")).what(),
                 "Refused unsafe entry \"C:\\x\": \"C:\\x\" is an absolute path, which may lie outside the "
                 "application folder");
}

// An entry that installs into the staging folder could change a later entry's staged source: every
// spelling the system reads as "Update\" counts, lookalikes do not.
TEST(EntrySafety, StagingFolderIsNamedInEverySpellingTheSystemReads)
{
    const struct {
        const char* name;
        bool staging;
    } cases[] = {
        {"Update\\a.txt", true},  {"update/a.txt", true},   {"UPDATE", true},
        {".\\Update\\a", true},   {". \\Update\\a", true},  {"Update.\\a", true},
        {"Update \\a", true},     {"Update:x\\a", true},    {"\\\\Update\\a", true},
        {"Updates\\a.txt", false}, {"a\\Update\\b", false}, {"Update.txt", false},
        {"UpdateX", false},       {"", false},              {"a.txt", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MayNameStagingFolder(c.name), c.staging) << c.name;
}
