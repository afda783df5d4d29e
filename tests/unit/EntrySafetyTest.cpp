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

TEST(EntrySafety, RefusalNamesTheEntryAndTheReason)
{
    EXPECT_STREQ(EUnsafeEntry("..\\x", *UnsafePathReason("..\\x")).what(),
                 "Refused unsafe entry \"..\\x\": \"..\\x\" has a \"..\" segment, which may lead outside the "
                 "application folder");
    EXPECT_STREQ(EUnsafeEntry("C:\\x", *UnsafePathReason("C:\\x")).what(),
                 "Refused unsafe entry \"C:\\x\": \"C:\\x\" is an absolute path, which may lie outside the "
                 "application folder");
}
