#include "app/layout/LayoutReader.h"
#include "app/layout/PictureBlock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

// The layout sources are packed by the real packer (tools/pack_layout.py), so these tests cover the packed
// form from both ends.
namespace {

const std::string SourceRoot = FIXTURES_DIR "/../..";
const std::string LayoutFixtures = FIXTURES_DIR "/layout/";

using Bytes = std::vector<std::uint8_t>;

Bytes ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::filesystem::path TempPath(const std::string& name)
{
    return std::filesystem::temp_directory_path() / (std::to_string(getpid()) + "-" + name);
}

// Runs the packer; its exit status, and the packed bytes in packed when it succeeded.
int RunPacker(const std::string& sourcePath, Bytes& packed)
{
    const std::filesystem::path output = TempPath("packed.bin");
    const std::string command = "python3 " + SourceRoot + "/tools/pack_layout.py '" + sourcePath + "' '" +
                                output.string() + "' 2>/dev/null";
    const int status = std::system(command.c_str());
    if (status == 0)
        packed = ReadFile(output);
    std::filesystem::remove(output);
    return status;
}

Bytes Pack(const std::string& sourcePath)
{
    Bytes packed;
    EXPECT_EQ(RunPacker(sourcePath, packed), 0) << sourcePath;
    return packed;
}

LayoutObject Read(const Bytes& packed)
{
    return ReadLayout(packed.data(), packed.size());
}

template <typename T>
T ValueOf(const LayoutObject& object, const std::string& property)
{
    const LayoutValue* value = object.Find(property);
    if (!value || !std::holds_alternative<T>(*value)) {
        ADD_FAILURE() << object.name << "." << property << " is missing or of another type";
        return T{};
    }
    return std::get<T>(*value);
}

PictureBlock PictureOf(const LayoutObject& object)
{
    const LayoutValue* value = object.Find("Picture.Data");
    const LayoutBinary& block = std::get<LayoutBinary>(*value);
    return ParsePictureBlock({block.bytes.data(), block.bytes.size()});
}

Bytes BytesOf(ByteSpan span)
{
    return Bytes(span.data, span.data + span.size);
}

TEST(ReadLayout, ReadsEveryValueKindAndNestedObjectsOfAPackedSample)
{
    const Bytes packed = Pack(LayoutFixtures + "Sample.layout");
    const LayoutObject form = Read(packed);

    EXPECT_EQ(form.name, "Form");
    EXPECT_EQ(form.className, "TSample");
    EXPECT_EQ(ValueOf<std::int32_t>(form, "Count"), INT32_MIN);
    EXPECT_EQ(ValueOf<std::int32_t>(form, "Most"), INT32_MAX);
    EXPECT_TRUE(ValueOf<bool>(form, "On"));
    EXPECT_FALSE(ValueOf<bool>(form, "Off"));
    EXPECT_EQ(ValueOf<std::string>(form, "Text"), "a \"quoted\" \\ # not a comment");
    EXPECT_EQ(ValueOf<std::string>(form, "Gbk"), "\xD4\xDA\xCF\xDF"); // 在线
    EXPECT_EQ(ValueOf<std::string>(form, "Empty"), "");
    EXPECT_EQ(ValueOf<LayoutIdentifier>(form, "Kind").name, "clBtnFace");
    EXPECT_EQ(ValueOf<LayoutSet>(form, "Flags").members, (std::vector<std::string>{"one", "two", "three"}));
    EXPECT_TRUE(ValueOf<LayoutSet>(form, "None").members.empty());
    EXPECT_EQ(form.Find("Missing"), nullptr);

    ASSERT_EQ(form.children.size(), 2u);
    EXPECT_EQ(form.children[0].name, "Panel");
    ASSERT_EQ(form.children[0].children.size(), 1u);
    const PictureBlock banner = PictureOf(form.children[0].children[0]);
    EXPECT_EQ(banner.kind, "TJPEGImage");
    EXPECT_EQ(BytesOf(banner.data), ReadFile(LayoutFixtures + "Sample.jpg"));
    const PictureBlock strip = PictureOf(form.children[1]);
    EXPECT_EQ(strip.kind, "TGIFImage");
    EXPECT_EQ(BytesOf(strip.data), ReadFile(LayoutFixtures + "Sample.gif"));
}

TEST(ReadLayout, EveryTruncationOfAValidLayoutRaises)
{
    const Bytes packed = Pack(LayoutFixtures + "Sample.layout");
    for (std::size_t size = 0; size < packed.size(); ++size)
        EXPECT_THROW(ReadLayout(packed.data(), size), ELayoutError) << size;
}

// A minimal layout: one object "F" of class "T" with one property "P", whose value bytes are given.
Bytes OneProperty(const Bytes& typedValue)
{
    Bytes bytes = {'L', 'Y', 'T', '1', 1, 'F', 1, 'T', 1, 0, 1, 'P'};
    bytes.insert(bytes.end(), typedValue.begin(), typedValue.end());
    bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

// Objects nested depth deep, each with no properties and one child but the innermost.
Bytes Nested(int depth)
{
    Bytes bytes = {'L', 'Y', 'T', '1'};
    for (int level = 1; level <= depth; ++level)
        bytes.insert(bytes.end(), {1, 'F', 1, 'T', 0, 0, static_cast<std::uint8_t>(level < depth), 0});
    return bytes;
}

TEST(ReadLayout, MalformedDataRaisesWithItsReason)
{
    Bytes trailing = OneProperty({1, 7, 0, 0, 0});
    trailing.push_back(0);
    const struct {
        Bytes bytes;
        const char* message;
    } cases[] = {
        {{'L', 'Y', 'T'}, "Layout data has no layout signature"},
        {OneProperty({1, 7, 0, 0, 0}), nullptr},
        {{'L', 'Y', 'T', '2', 1, 'F', 1, 'T', 0, 0, 0, 0}, "Layout data has no layout signature"},
        {OneProperty({7, 0}), "Layout property has an unknown value type"},
        {OneProperty({0, 0}), "Layout property has an unknown value type"},
        {OneProperty({2, 2}), "Layout boolean is neither 0 nor 1"},
        {OneProperty({3, 0xFF, 0xFF, 0xFF, 0xFF, 'x'}), "Layout data ends early"},
        {OneProperty({6, 2, 0, 0, 0, 'x'}), "Layout data ends early"},
        {OneProperty({5, 3, 1, 'a'}), "Layout data ends early"},
        {trailing, "Layout data goes on after its root object"},
        {Nested(16), nullptr},
        {Nested(17), "Layout objects nest too deeply"},
    };
    for (const auto& c : cases) {
        if (!c.message) {
            EXPECT_NO_THROW(Read(c.bytes));
            continue;
        }
        try {
            Read(c.bytes);
            ADD_FAILURE() << "no error, expected: " << c.message;
        } catch (const ELayoutError& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
}

// A picture block: the kind's byte count and name, then the bytes given.
Bytes Block(const std::string& kind, const Bytes& data)
{
    Bytes block = {static_cast<std::uint8_t>(kind.size())};
    block.insert(block.end(), kind.begin(), kind.end());
    block.insert(block.end(), data.begin(), data.end());
    return block;
}

TEST(ParsePictureBlock, SplitsKindFromItsData)
{
    const struct {
        Bytes block;
        const char* kind;
        Bytes data;
    } cases[] = {
        {Block("TJPEGImage", {2, 0, 0, 0, 0xFF, 0xD8}), "TJPEGImage", {0xFF, 0xD8}},
        {Block("TJPEGImage", {0, 0, 0, 0}), "TJPEGImage", {}},
        {Block("TGIFImage", {'G', 'I', 'F'}), "TGIFImage", {'G', 'I', 'F'}},
        {Block("TBmp", {1, 2}), "TBmp", {1, 2}},
        {Block("tjpegimage", {1, 0, 0, 0}), "tjpegimage", {1, 0, 0, 0}},
        {Block("", {}), "", {}},
    };
    for (const auto& c : cases) {
        const PictureBlock picture = ParsePictureBlock({c.block.data(), c.block.size()});
        EXPECT_EQ(picture.kind, c.kind);
        EXPECT_EQ(BytesOf(picture.data), c.data) << c.kind;
    }
}

TEST(ParsePictureBlock, MalformedBlockRaises)
{
    const struct {
        Bytes block;
        const char* message;
    } cases[] = {
        {{}, "Picture block ends early"},
        {{9, 'T', 'G', 'I', 'F'}, "Picture block ends early"},
        {Block("TJPEGImage", {3, 0, 0}), "Picture block ends early"},
        {Block("TJPEGImage", {3, 0, 0, 0, 1, 2}), "Picture block ends early"},
        {Block("TJPEGImage", {1, 0, 0, 0, 1, 2}), "Picture block goes on after its JPEG stream"},
    };
    for (const auto& c : cases) {
        try {
            ParsePictureBlock({c.block.data(), c.block.size()});
            ADD_FAILURE() << "no error, expected: " << c.message;
        } catch (const ELayoutError& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
}

// The packer refuses a source it cannot pack faithfully instead of guessing.
TEST(PackLayout, RefusesMalformedSources)
{
    const char* const sources[] = {
        "object F: T\n",
        "end\n",
        "Left = 1\n",
        "object F: T\nend\nobject G: T\nend\n",
        "object F: T\n  Left = 2147483648\nend\n",
        "object F: T\n  Caption = \"open\nend\n",
        "object F: T\n  Caption = \"a\" b\nend\n",
        "object F: T\n  Caption = \"\\q\"\nend\n",
        "object F: T\n  Flags = [a b]\nend\n",
        "object F: T\n  Picture.Data = file \"Sample.jpg\" kind TPngImage\nend\n",
        "object F: T\n  Picture.Data = file \"Missing.jpg\" kind TJPEGImage\nend\n",
    };
    const std::filesystem::path source = TempPath("Bad.layout");
    for (const char* text : sources) {
        std::ofstream(source) << text;
        Bytes packed;
        EXPECT_NE(RunPacker(source.string(), packed), 0) << text;
    }
    std::filesystem::remove(source);
}

// The window's own layout holds the properties and controls that the window is built from.
TEST(WindowLayout, HoldsTheWindowsPropertiesAndControlsInPaintingOrder)
{
    const LayoutObject form = Read(Pack(SourceRoot + "/resources/FrmMain.layout"));
    EXPECT_EQ(form.className, "TFrmMain");
    EXPECT_EQ(ValueOf<std::int32_t>(form, "Left"), 307);
    EXPECT_EQ(ValueOf<std::int32_t>(form, "Top"), 333);
    EXPECT_EQ(ValueOf<std::int32_t>(form, "ClientWidth"), 348);
    EXPECT_EQ(ValueOf<std::int32_t>(form, "ClientHeight"), 173);
    EXPECT_EQ(ValueOf<std::int32_t>(form, "Font.Height"), -13);
    EXPECT_EQ(ValueOf<std::string>(form, "Font.Name"), "\xCB\xCE\xCC\xE5"); // 宋体
    EXPECT_EQ(ValueOf<std::string>(form, "Caption"), "Marovin");
    EXPECT_EQ(ValueOf<LayoutSet>(form, "BorderIcons").members,
              (std::vector<std::string>{"biSystemMenu", "biMinimize"}));
    EXPECT_EQ(ValueOf<LayoutIdentifier>(form, "OnShow").name, "FormShow");
    EXPECT_EQ(ValueOf<LayoutIdentifier>(form, "Position").name, "poDesktopCenter");

    const struct {
        const char* name;
        const char* className;
        int left, top, width, height;
    } controls[] = {
        {"Image1", "TImage", 0, 0, 348, 130},
        {"Image2", "TImage", 0, 130, 348, 16},
        {"Label1", "TLabel", 8, 151, 321, 18},
    };
    ASSERT_EQ(form.children.size(), std::size(controls));
    for (std::size_t i = 0; i < std::size(controls); ++i) {
        const LayoutObject& control = form.children[i];
        EXPECT_EQ(control.name, controls[i].name);
        EXPECT_EQ(control.className, controls[i].className);
        EXPECT_EQ(ValueOf<std::int32_t>(control, "Left"), controls[i].left) << control.name;
        EXPECT_EQ(ValueOf<std::int32_t>(control, "Top"), controls[i].top) << control.name;
        EXPECT_EQ(ValueOf<std::int32_t>(control, "Width"), controls[i].width) << control.name;
        EXPECT_EQ(ValueOf<std::int32_t>(control, "Height"), controls[i].height) << control.name;
    }
    EXPECT_EQ(ValueOf<std::string>(form.children[2], "Caption"), "Label1");
    EXPECT_TRUE(ValueOf<bool>(form.children[2], "Transparent"));
    EXPECT_FALSE(ValueOf<bool>(form.children[2], "AutoSize"));
}

} // namespace
