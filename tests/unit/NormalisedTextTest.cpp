#include "update/NormalisedText.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "update/TextList.h"

namespace {

// The normaliser's output for the text handed to it in the given pieces, and its end.
std::string Normalised(const std::vector<std::string>& pieces)
{
    LineEndNormaliser normaliser;
    std::string out;
    for (const std::string& piece : pieces)
        out += normaliser.Next(piece);
    out += normaliser.Finish();
    return out;
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

// The text cut into pieces at random places, empty pieces among them.
std::vector<std::string> RandomPieces(const std::string& text, std::mt19937& random)
{
    std::uniform_int_distribution<std::size_t> length(0, 6);
    std::vector<std::string> pieces;
    for (std::size_t at = 0; at < text.size();) {
        pieces.push_back(text.substr(at, length(random)));
        at += pieces.back().size();
    }
    return pieces;
}

} // namespace

TEST(LineEndNormaliser, EqualsSplittingAndJoiningTheWholeWhereverThePiecesEnd)
{
    std::mt19937 random(20261210);
    for (int i = 0; i < 20000; ++i) {
        const std::string text = RandomText(random) + "\r\n" + RandomText(random);
        const std::vector<std::string> pieces = RandomPieces(text, random);
        ASSERT_EQ(Normalised(pieces), SplitAndJoined(text)) << testing::PrintToString(pieces);
        ASSERT_EQ(Normalised({text}), SplitAndJoined(text)) << testing::PrintToString(text);
    }
}

TEST(LineEndNormaliser, FindsLineEndsAtEveryPlaceInAWord)
{
    for (std::size_t at = 0; at < 24; ++at)
        for (const char* brk : {"\r", "\n", "\r\n", "\n\r"}) {
            const std::string text = std::string(at, 'x') + brk + std::string(24, 'y');
            ASSERT_EQ(Normalised({text}), SplitAndJoined(text)) << at << " " << testing::PrintToString(brk);
        }
}

// A log this program wrote is handed on as it is, piece by piece, without a copy.
TEST(LineEndNormaliser, HandsOnANormalisedPieceItself)
{
    LineEndNormaliser normaliser;
    const std::string piece = "old 1\r\nold 2\r\n";
    const std::string_view out = normaliser.Next(piece);
    EXPECT_EQ(out, piece);
    EXPECT_EQ(out.data(), piece.data());
    EXPECT_EQ(normaliser.Finish(), "");
}

TEST(LineEndNormaliser, AddsNothingAfterANul)
{
    LineEndNormaliser normaliser;
    EXPECT_EQ(normaliser.Next(std::string("kept\nkept too\0lost", 18)), "kept\r\nkept too\r\n");
    EXPECT_TRUE(normaliser.Ended());
    EXPECT_EQ(normaliser.Next("more\r\n"), "");
    EXPECT_EQ(normaliser.Finish(), "");
}
