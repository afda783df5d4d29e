#include "update/NormalisedText.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "update/TextList.h"

namespace {

std::string Prepended(const std::string& head, std::string text)
{
    PrependNormalised(head, text);
    return text;
}

// What splitting into a text list and joining again gives: the rules' own statement.
std::string SplitAndJoined(const std::string& text)
{
    TextList list;
    list.SetText(text);
    return list.Text();
}

// Texts made of line-end bytes, NULs, other control bytes below CR (which a word-wide scan must not take
// for line ends), high bytes and letters, long enough to cross several words.
std::string RandomText(std::mt19937& random)
{
    static const char kBytes[] = {'a', '\r', '\n', '\0', '\t', '\x0C', '\x0E', '\xFF', '\x8D', '\x8A'};
    std::uniform_int_distribution<int> length(0, 40);
    std::uniform_int_distribution<int> pick(0, sizeof kBytes - 1);
    std::uniform_int_distribution<int> plain(0, 3);
    std::string text;
    for (int n = length(random); n > 0; --n)
        text += plain(random) == 0 ? kBytes[pick(random)] : 'x';
    return text;
}

} // namespace

TEST(PrependNormalised, EqualsSplittingAndJoiningTheWhole)
{
    std::mt19937 random(20261210);
    for (int i = 0; i < 20000; ++i) {
        const std::string head = RandomText(random) + "\r\n";
        const std::string tail = RandomText(random);
        ASSERT_EQ(Prepended(head, tail), SplitAndJoined(head + tail))
            << testing::PrintToString(head) << " + " << testing::PrintToString(tail);
    }
}

TEST(PrependNormalised, FindsLineEndsAtEveryPlaceInAWord)
{
    for (std::size_t at = 0; at < 24; ++at)
        for (const char* brk : {"\r", "\n", "\r\n", "\n\r"}) {
            const std::string tail = std::string(at, 'x') + brk + std::string(24, 'y');
            ASSERT_EQ(Prepended("h\r\n", tail), SplitAndJoined("h\r\n" + tail))
                << at << " " << testing::PrintToString(brk);
        }
}

// A log this program wrote needs no rebuilding: the record goes in front within the log's own buffer.
TEST(PrependNormalised, ANormalisedTextWithRoomKeepsItsBuffer)
{
    std::string text = "old 1\r\nold 2\r\n";
    text.reserve(100);
    const char* const buffer = text.data();
    PrependNormalised("new\r\n", text);
    EXPECT_EQ(text, "new\r\nold 1\r\nold 2\r\n");
    EXPECT_EQ(text.data(), buffer);
}
