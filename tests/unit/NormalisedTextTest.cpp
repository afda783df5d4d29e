#include "update/NormalisedText.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "update/TextList.h"

namespace {

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

TEST(NormalisedConcatenation, EqualsSplittingAndJoiningTheWhole)
{
    std::mt19937 random(20261210);
    for (int i = 0; i < 20000; ++i) {
        const std::string head = RandomText(random) + "\r\n";
        const std::string tail = RandomText(random);
        ASSERT_EQ(NormalisedConcatenation(head, tail), SplitAndJoined(head + tail))
            << testing::PrintToString(head) << " + " << testing::PrintToString(tail);
    }
}

TEST(NormalisedConcatenation, FindsLineEndsAtEveryPlaceInAWord)
{
    for (std::size_t at = 0; at < 24; ++at)
        for (const char* brk : {"\r", "\n", "\r\n", "\n\r"}) {
            const std::string tail = std::string(at, 'x') + brk + std::string(24, 'y');
            ASSERT_EQ(NormalisedConcatenation("h\r\n", tail), SplitAndJoined("h\r\n" + tail))
                << at << " " << testing::PrintToString(brk);
        }
}
