#include "common/AsideName.h"

#include <gtest/gtest.h>

TEST(AsideName, CarriesTheOriginThereAndBack)
{
    const std::wstring origins[] = {L"Update.exe", L"TkZip.dll", L"Sub\\Lib.dll", L"\x8003\x8bd5.dll", L"a..b.dll",
                                    L"x\xffff"};
    for (const std::wstring& origin : origins) {
        const std::wstring name = AsideName(4242, 7, origin);
        ASSERT_FALSE(name.empty());
        EXPECT_EQ(name.rfind(L"4242-aside-7-", 0), 0u);
        EXPECT_TRUE(IsAsideName(name));
        std::wstring back;
        EXPECT_TRUE(AsideOrigin(name, back));
        EXPECT_EQ(back, origin);
    }
    EXPECT_EQ(AsideName(1, 2, L"A"), L"1-aside-2-0041.tmp");
}

TEST(AsideName, RefusesOriginsOutsideTheApplicationFolderOrTooLongForAName)
{
    const std::wstring refused[] = {L"", L"\\Windows\\x.dll", L"/x.dll", L"C:x.dll", L"..\\x.dll",
                                    L"Sub\\..\\..\\x.dll", L"Sub/..", std::wstring(56, L'a')};
    for (const std::wstring& origin : refused)
        EXPECT_EQ(AsideName(1, 1, origin), L"") << origin.size();
}

// A file name may have 255 UTF-16 units. The longest origin accepted, with the widest process id and
// serial, makes a name within them; each unit more of the origin adds four to the name, so the first one
// refused would have gone past them.
TEST(AsideName, TheLongestNameFitsTheLimitOfAFileNameAndOneUnitMoreWouldNot)
{
    const std::size_t kFileNameLimit = 255;
    const std::wstring origin = std::wstring(54, L'\x8bd5') + L"\xffff";
    const std::wstring longest = AsideName(4294967295ul, 4294967295u, origin);
    EXPECT_LE(longest.size(), kFileNameLimit);
    EXPECT_GT(longest.size() + 4, kFileNameLimit);
    std::wstring back;
    EXPECT_TRUE(AsideOrigin(longest, back));
    EXPECT_EQ(back, origin);
    EXPECT_EQ(AsideName(4294967295ul, 4294967295u, origin + L"a"), L"");
}

TEST(AsideName, OtherNamesCarryNoOrigin)
{
    const struct {
        const wchar_t* name;
        bool aside;
    } cases[] = {
        {L"12-3.tmp", false},
        {L"12-kept-3.tmp", false},
        {L"aside-3-0041.tmp", false},
        {L"-aside-3-0041.tmp", false},
        {L"12-aside--0041.tmp", true},
        {L"12-aside-3-0041.txt", true},
        {L"12-aside-3-004.tmp", true},
        {L"12-aside-3-004G.tmp", true},
        {L"12-aside-3-0041.tmp.tmp", true},
        {L"12-aside-3-.tmp", true},
        {L"12-aside-3-002e002e.tmp", true}, // ".."
        {L"12-aside-3.tmp", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsAsideName(c.name), c.aside) << c.name;
        std::wstring origin;
        EXPECT_FALSE(AsideOrigin(c.name, origin)) << c.name;
    }
}
