#include "update/TextList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeFileStore.h"

namespace {

using Lines = std::vector<std::string>;

Lines LinesOf(const TextList& list)
{
    Lines lines;
    for (std::size_t i = 0; i < list.Count(); ++i)
        lines.push_back(list.Entry(i));
    return lines;
}

Lines Split(std::string_view text)
{
    TextList list;
    list.SetText(text);
    return LinesOf(list);
}

TextList ListOf(const Lines& lines)
{
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    TextList list;
    list.SetText(text);
    return list;
}

} // namespace

TEST(TextListSplit, FollowsTheLineEndRules)
{
    using namespace std::string_literals;
    const struct {
        const char* name;
        std::string text;
        Lines lines;
    } cases[] = {
        {"empty", "", {}},
        {"CR LF", "a.txt\r\nb.zip\r\n", {"a.txt", "b.zip"}},
        {"empty line kept", "a.txt\r\n\r\nb.zip", {"a.txt", "", "b.zip"}},
        {"lone CR", "a\rb\r", {"a", "b"}},
        {"lone LF", "a\nb\n", {"a", "b"}},
        {"LF CR is two ends", "a\n\rb", {"a", "", "b"}},
        {"CR CR is two ends", "a\r\rb", {"a", "", "b"}},
        {"final line without end", "a\r\nb", {"a", "b"}},
        {"only a line end", "\r\n", {""}},
        {"two line ends", "\n\n", {"", ""}},
        {"NUL in the middle", "ab\r\nc\0d\r\ne"s, {"ab", "c"}},
        {"NUL first", "\0abc"s, {}},
        {"NUL after a line end", "a\r\n\0b"s, {"a"}},
        {"UTF-16 LE with BOM", "\xFF\xFE" "a\0.\0t\0x\0t\0\r\0\n\0"s, {"\xFF\xFE" "a"}},
        {"UTF-8 BOM kept", "\xEF\xBB\xBF" "a.txt\r\nb", {"\xEF\xBB\xBF" "a.txt", "b"}},
        {"GBK kept", "\xCE\xC4\xBC\xFE\r\n", {"\xCE\xC4\xBC\xFE"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Split(c.text), c.lines) << c.name;
}

TEST(TextListSplit, UsesOnlyTheViewItIsGiven)
{
    const std::string text = "a\r\nb\r\nc";
    EXPECT_EQ(Split(std::string_view(text).substr(0, 4)), (Lines{"a", "b"}));
}

TEST(TextListSplit, ReplacesTheOldContent)
{
    TextList list;
    list.SetText("x\r\ny");
    list.SetText("z");
    EXPECT_EQ(LinesOf(list), Lines{"z"});
    list.SetText("");
    EXPECT_EQ(list.Count(), 0u);
}

TEST(TextListJoin, EndsEveryLineWithCrLf)
{
    const struct {
        Lines lines;
        std::string text;
    } cases[] = {
        {{}, ""},
        {{""}, "\r\n"},
        {{"a"}, "a\r\n"},
        {{"a", "", "b"}, "a\r\n\r\nb\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ListOf(c.lines).Text(), c.text);
}

TEST(TextListJoin, RoundTripsAnySplitText)
{
    for (const char* text : {"a\nb\r\rc\n\r", "\r\n\r\n", "x", "a\r\nb\r\n", "\n\rq"}) {
        TextList first;
        first.SetText(text);
        TextList second;
        second.SetText(first.Text());
        EXPECT_EQ(LinesOf(second), LinesOf(first)) << text;
        EXPECT_EQ(second.Text(), first.Text()) << text;
    }
}

TEST(TextListFile, LoadsThroughTheStore)
{
    FakeFileStore store;
    store.files["C:\\app\\Update\\UpFile.Dat"] = "b.zip\nc.txt\ra.txt";
    TextList list;
    list.LoadFromFile(store, "C:\\app\\Update\\UpFile.Dat");
    EXPECT_EQ(LinesOf(list), (Lines{"b.zip", "c.txt", "a.txt"}));
}

TEST(TextListFile, LoadingAMissingFileRaisesAndKeepsTheList)
{
    FakeFileStore store;
    TextList list;
    list.SetText("kept");
    EXPECT_THROW(list.LoadFromFile(store, "C:\\app\\missing"), EFOpenError);
    EXPECT_EQ(LinesOf(list), Lines{"kept"});
}
