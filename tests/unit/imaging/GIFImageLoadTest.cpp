#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "imaging/gif/decoding/GIFAppExtNSLoop.h"
#include "imaging/gif/decoding/GIFCommentExtension.h"
#include "imaging/gif/decoding/GIFExtensionRegistry.h"
#include "imaging/gif/decoding/GIFGraphicControlExtension.h"
#include "imaging/gif/decoding/GIFSubBlocks.h"
#include "imaging/gif/decoding/GIFTextExtension.h"
#include "imaging/gif/decoding/GIFUnknownAppExtension.h"
#include "tests/unit/imaging/GifTestLoad.h"

using gif::Bytes;
using gif::GifBuilder;
using gif::Load;

namespace {

template <class Extension>
const Extension& ExtensionAt(const TGIFSubImage& frame, std::size_t index)
{
    const auto* extension = dynamic_cast<const Extension*>(frame.Extensions().at(index).get());
    if (extension == nullptr)
        throw std::runtime_error("extension of another kind");
    return *extension;
}

// A 4 x 2 picture of 4 colours, one frame, with trailer.
GifBuilder OneFrame()
{
    GifBuilder gif;
    gif.Header(4, 2, 4).Image(4, 2, {0, 1, 2, 3, 3, 2, 1, 0}, {.lzw = {2}});
    return gif;
}

// An application extension's introducer, label, block size 11 and identifier, then `rest`.
Bytes AppHead(const std::string& identifier, const Bytes& rest)
{
    return GifBuilder().Raw({0x21, 0xFF, 11}).Raw(Bytes(identifier.begin(), identifier.end())).Raw(rest).bytes;
}

} // namespace

TEST(GIFImageLoad, ReadsHeaderFramesAndExtensionsAsStored)
{
    GifBuilder gif;
    gif.Header(454, 23, 256, 255)
        .Loop(3)
        .GraphicControl(1 << 2 | 1, 7, 255)
        .Comment({"first", std::string("cut\0here", 8)})
        .Raw({0x21, 0x01, 12, 1, 0, 2, 0, 30, 0, 8, 0, 6, 8, 1, 2}).Raw(gif::SubBlocks({'h', 'i'}))
        .Application("ACMEDATA1.0", {{1, 2, 3}, {4}})
        .Image(5, 3, gif::Ramp(15), {.left = 17, .top = 2})
        .Image(3, 4, gif::Ramp(12, 4), {.interlaced = true, .localColors = 4, .lzw = {2}})
        .Trailer();
    const gif::Loaded loaded = Load(gif.bytes);
    ASSERT_EQ(loaded.error, "");
    EXPECT_TRUE(loaded.warnings.empty());
    EXPECT_EQ(loaded.position, gif.bytes.size());

    const TGIFImage& image = *loaded.image;
    EXPECT_EQ(std::string(image.Header.Signature.begin(), image.Header.Signature.end()), "GIF89a");
    EXPECT_EQ(image.Width(), 454);
    EXPECT_EQ(image.Height(), 23);
    EXPECT_EQ(image.Header.BackgroundIndex, 255);
    ASSERT_EQ(image.Header.ColorMap.Count(), 256u);
    EXPECT_EQ(image.Header.ColorMap.ColorValue(2), 2u + 253u * 256 + 1u * 65536);
    ASSERT_EQ(image.Images.Count(), 2u);

    const TGIFSubImage& first = loaded.Frame(0);
    EXPECT_EQ(first.Descriptor.Left, 17);
    EXPECT_EQ(first.Descriptor.Top, 2);
    EXPECT_EQ(first.Descriptor.Width, 5);
    EXPECT_EQ(first.Descriptor.Height, 3);
    EXPECT_EQ(first.Data, gif::Ramp(15));
    EXPECT_EQ(first.ColorMap.Count(), 0u);
    EXPECT_EQ(&first.ActiveColorMap(), &image.Header.ColorMap);
    ASSERT_EQ(first.Extensions().size(), 5u);
    EXPECT_EQ(ExtensionAt<TGIFAppExtNSLoop>(first, 0).Loops, 3);
    const auto& control = ExtensionAt<TGIFGraphicControlExtension>(first, 1);
    EXPECT_EQ(first.GraphicControlExtension(), &control);
    EXPECT_EQ(control.Disposal(), 1);
    EXPECT_EQ(control.Delay, 7);
    EXPECT_EQ(control.TransparentColorIndex, 255);
    EXPECT_TRUE(first.Transparent());
    EXPECT_EQ(ExtensionAt<TGIFCommentExtension>(first, 2).Text, (std::vector<std::string>{"first", "cut"}));
    const auto& text = ExtensionAt<TGIFTextExtension>(first, 3);
    EXPECT_EQ(text.GridLeft, 1);
    EXPECT_EQ(text.GridWidth, 30);
    EXPECT_EQ(text.CellHeight, 8);
    EXPECT_EQ(text.BackgroundIndex, 2);
    EXPECT_EQ(text.Text, std::vector<std::string>{"hi"});
    const auto& unknown = ExtensionAt<TGIFUnknownAppExtension>(first, 4);
    ASSERT_EQ(unknown.Blocks.size(), 2u);
    EXPECT_EQ(unknown.Blocks[0].Data, (Bytes{1, 2, 3}));
    EXPECT_EQ(unknown.Blocks[1].Data, Bytes{4});

    const TGIFSubImage& second = loaded.Frame(1);
    EXPECT_TRUE(second.Descriptor.Interlaced());
    EXPECT_EQ(second.Data, gif::Ramp(12, 4));
    EXPECT_EQ(second.ColorMap.Count(), 4u);
    EXPECT_EQ(&second.ActiveColorMap(), &second.ColorMap);
    EXPECT_TRUE(second.Extensions().empty());
    EXPECT_EQ(second.GraphicControlExtension(), nullptr);
    EXPECT_FALSE(second.Transparent());
}

TEST(GIFImageLoad, FindsTheSignatureAfterAFourBytePrefix)
{
    const Bytes plain = OneFrame().Trailer().bytes;
    const Bytes layoutBefore = {9, 'T', 'G', 'I', 'F', 'I', 'm', 'a', 'g', 'e'};
    const struct {
        const char* name;
        Bytes bytes;
        std::size_t start;
    } cases[] = {
        {"no prefix", plain, 0},
        {"four bytes of anything first", gif::GifBuilder().Raw({'G', 'I', 'X', 0}).Raw(plain).bytes, 0},
        {"prefix counted from where the stream stands",
         GifBuilder().Raw(layoutBefore).Raw({1, 2, 3, 4}).Raw(plain).bytes, layoutBefore.size()},
        {"signature in lower case",
         GifBuilder().Header(4, 2, 4, 0, "gif89a").Image(4, 2, {0, 1, 2, 3, 3, 2, 1, 0}, {.lzw = {2}}).bytes, 0},
    };
    for (const auto& c : cases) {
        const gif::Loaded loaded = Load(c.bytes, c.start);
        ASSERT_EQ(loaded.error, "") << c.name;
        ASSERT_EQ(loaded.image->Images.Count(), 1u) << c.name;
        EXPECT_EQ(loaded.Frame(0).Data, (Bytes{0, 1, 2, 3, 3, 2, 1, 0})) << c.name;
        EXPECT_TRUE(loaded.warnings.empty()) << c.name;
    }
}

TEST(GIFImageLoad, ErrorsEndTheLoadAndPutTheStreamBack)
{
    const Bytes header = GifBuilder().Header(4, 2, 4).bytes;
    auto after = [&](const Bytes& rest) { return GifBuilder().Raw(header).Raw(rest).bytes; };
    const Bytes goodFrame = GifBuilder().Image(4, 2, Bytes(8, 1), {.lzw = {2}}).bytes;
    const struct {
        const char* name;
        Bytes bytes;
        const char* message;
        std::size_t framesKept;
    } cases[] = {
        {"no GIF signature, with or without prefix", GifBuilder().Raw({'G', 'I', 'X'}).Raw(header).bytes,
         "Invalid GIF signature", 0},
        {"signature cut short", {'G', 'I', 'F', '8'}, "Premature end of data", 0},
        {"screen descriptor cut short", Bytes(header.begin(), header.begin() + 10), "Premature end of data", 0},
        {"global table cut short", Bytes(header.begin(), header.end() - 1), "Premature end of data", 0},
        {"image descriptor cut short", after({0x2C, 0, 0, 0, 0, 4, 0}), "Premature end of data", 0},
        {"local table cut short", after({0x2C, 0, 0, 0, 0, 4, 0, 2, 0, 0x81, 1, 2, 3}), "Premature end of data", 0},
        {"extension label missing", after({0x21}), "Premature end of data", 0},
        {"text header cut short", after({0x21, 0x01, 12, 0, 0}), "Premature end of data", 0},
        {"comment sub-block cut short", after({0x21, 0xFE, 5, 'a', 'b'}), "Premature end of data", 0},
        {"application identifier cut short", after({0x21, 0xFF, 11, 'N', 'E', 'T'}), "Premature end of data", 0},
        {"loop sub-block cut short", after(AppHead("NETSCAPE2.0", {3, 1, 0})), "Premature end of data", 0},
        {"unknown application block cut short", after(AppHead("ACMEDATA1.0", {4, 1})), "Premature end of data", 0},
        {"unknown extension label", after({0x21, 0x99, 0}), "Unknown extension type", 0},
        {"application block size below 10", after({0x21, 0xFF, 9, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0}),
         "Unsupported Application Extension block size", 0},
        {"application block size above 11", after({0x21, 0xFF, 12, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 0}),
         "Unsupported Application Extension block size", 0},
        {"loop count sub-block of 2 bytes", GifBuilder().Raw(header).Application("NETSCAPE2.0", {{1, 5}}).bytes,
         "Invalid GIF data", 0},
        {"buffer size sub-block of 4 bytes", GifBuilder().Raw(header).Application("ANIMEXTS1.0", {{2, 1, 2, 3}}).bytes,
         "Invalid GIF data", 0},
        {"corrupt code table in the second frame",
         GifBuilder().Raw(header).Raw(goodFrame).Descriptor(4, 2).Raw({2, 2, 4 | 7 << 3, 0, 0}).bytes,
         "Circular decoder table entry", 1},
        {"a frame above the pixel limit", after({0x2C, 0, 0, 0, 0, 0x10, 0x27, 0x10, 0x27, 0}),
         "Image too large to decode", 0},
    };
    for (const auto& c : cases) {
        const Bytes bytes = GifBuilder().Raw({'x', 'y'}).Raw(c.bytes).bytes;
        const gif::Loaded loaded = Load(bytes, 2);
        EXPECT_EQ(loaded.error, c.message) << c.name;
        EXPECT_EQ(loaded.position, 2u) << c.name;
        EXPECT_EQ(loaded.image->Images.Count(), c.framesKept) << c.name;
    }
}

TEST(GIFImageLoad, WarningsLetTheLoadGoOn)
{
    const Bytes header = GifBuilder().Header(4, 2, 4).bytes;
    const Bytes frame = GifBuilder().Image(4, 2, Bytes(8, 1), {.lzw = {2}}).bytes;
    const Bytes control = GifBuilder().GraphicControl(0, 0, 0).bytes;
    const struct {
        const char* name;
        Bytes bytes;
        std::vector<std::string> warnings;
        std::size_t frames;
    } cases[] = {
        {"no trailer", GifBuilder().Raw(header).Raw(frame).bytes, {}, 1},
        {"zero bytes between blocks are skipped", GifBuilder().Raw(header).Raw({0, 0}).Raw(frame).Raw({0}).Raw(frame).Raw({0, 0x3B}).bytes, {}, 2},
        {"a wrong byte in the trailer's place: the byte before it is checked as trailer",
         GifBuilder().Raw(header).Raw(frame).Raw({0x3C}).bytes, {"Unknown GIF block type", "Invalid Image trailer"}, 1},
        {"an unknown block ends the frames", GifBuilder().Raw(header).Raw(frame).Raw({0x3C}).Raw(frame).Trailer().bytes,
         {"Unknown GIF block type", "Invalid Image trailer"}, 1},
        {"a zero byte between extensions leaves a frame without image",
         GifBuilder().Raw(header).Raw(control).Raw({0}).Raw(frame).Trailer().bytes, {"Invalid extension introducer"}, 2},
        {"another byte between extensions is read as the image separator",
         GifBuilder().Raw(header).Raw(control).Raw({0x2D}).Raw(Bytes(frame.begin() + 1, frame.end())).Trailer().bytes,
         {"Invalid extension introducer"}, 1},
        {"a frame of width 0 takes the logical screen's size",
         GifBuilder().Raw(header).Descriptor(0, 2).Raw({2}).Raw(gif::SubBlocks(gif::LzwEncode(Bytes(8, 1), {2}))).Trailer().bytes,
         {"Image exceeds Logical Screen size"}, 1},
        {"a graphic control extension cut short is kept", GifBuilder().Raw(header).Raw({0x21, 0xF9, 4, 1, 9}).bytes,
         {"Premature end of data"}, 1},
    };
    for (const auto& c : cases) {
        const gif::Loaded loaded = Load(c.bytes);
        EXPECT_EQ(loaded.error, "") << c.name;
        EXPECT_EQ(loaded.warnings, c.warnings) << c.name;
        EXPECT_EQ(loaded.image->Images.Count(), c.frames) << c.name;
        for (std::size_t i = 0; i < c.frames; ++i) {
            if (!loaded.Frame(i).Empty()) {
                EXPECT_EQ(loaded.Frame(i).Data, Bytes(8, 1)) << c.name;
            }
        }
    }
}

TEST(GIFImageLoad, WarningsNameTheItemThatMetThem)
{
    const Bytes header = GifBuilder().Header(4, 2, 4).bytes;
    const gif::Loaded zeroWidth =
        Load(GifBuilder().Raw(header).Descriptor(0, 2).Raw({2}).Raw(gif::SubBlocks(gif::LzwEncode(Bytes(8, 1), {2}))).Raw({0x3C}).bytes);
    ASSERT_EQ(zeroWidth.senders.size(), 3u);
    EXPECT_EQ(zeroWidth.senders[0], &zeroWidth.Frame(0));
    EXPECT_EQ(zeroWidth.senders[1], nullptr); // "Unknown GIF block type": the picture as a whole
    EXPECT_EQ(zeroWidth.senders[2], nullptr);

    const gif::Loaded shortControl = Load(GifBuilder().Raw(header).Raw({0x21, 0xF9, 4, 1}).bytes);
    ASSERT_EQ(shortControl.senders.size(), 1u);
    EXPECT_EQ(shortControl.senders[0], shortControl.Frame(0).Extensions().at(0).get());
    const auto* control = shortControl.Frame(0).GraphicControlExtension();
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->BlockSize, 4);
    EXPECT_EQ(control->Packed, 1);
    EXPECT_FALSE(shortControl.Frame(0).Transparent());
}

TEST(GIFImageLoad, ExtensionsAfterTheLastImageMakeOneMoreEmptyFrame)
{
    for (const bool trailer : {true, false}) {
        GifBuilder gif;
        gif.Header(4, 2, 4).Image(4, 2, Bytes(8, 1), {.lzw = {2}}).GraphicControl(4).Comment({"end"});
        if (trailer)
            gif.Trailer();
        const gif::Loaded loaded = Load(gif.bytes);
        ASSERT_EQ(loaded.image->Images.Count(), 2u);
        const TGIFSubImage& last = loaded.Frame(1);
        EXPECT_TRUE(last.Empty());
        EXPECT_TRUE(last.Data.empty());
        EXPECT_EQ(last.Extensions().size(), 2u);
        EXPECT_TRUE(loaded.warnings.empty());
    }
}

TEST(GIFImageLoad, AFrameKeepsItsFirstGraphicControlExtension)
{
    // The first has no transparency flag, the second has: the frame is transparent, with the first's index.
    const gif::Loaded loaded = Load(GifBuilder()
                                        .Header(4, 2, 16)
                                        .GraphicControl(1 << 2, 7, 5)
                                        .GraphicControl(2 << 2 | 1, 20, 9)
                                        .Image(4, 2, {3, 3}, {.lzw = {4}})
                                        .Trailer()
                                        .bytes);
    const TGIFSubImage& frame = loaded.Frame(0);
    ASSERT_EQ(frame.Extensions().size(), 2u);
    EXPECT_EQ(frame.GraphicControlExtension(), frame.Extensions()[0].get());
    EXPECT_EQ(frame.GraphicControlExtension()->Delay, 7);
    EXPECT_TRUE(frame.Transparent());
    EXPECT_EQ(frame.Data, (Bytes{3, 3, 5, 5, 5, 5, 5, 5}));
}

TEST(GIFImageLoad, PixelsTheDataNeverReachesKeepTheFill)
{
    const struct {
        const char* name;
        std::uint8_t controlPacked;
        std::uint8_t fill;
    } cases[] = {
        {"transparent frame: the transparent index", 1, 6},
        {"opaque frame: 0", 0, 0},
    };
    for (const auto& c : cases) {
        const gif::Loaded loaded = Load(
            GifBuilder().Header(3, 2, 16).GraphicControl(c.controlPacked, 0, 6).Image(3, 2, {1, 2}, {.lzw = {4}}).bytes);
        EXPECT_EQ(loaded.Frame(0).Data, (Bytes{1, 2, c.fill, c.fill, c.fill, c.fill})) << c.name;
    }
}

TEST(GIFImageLoad, ReportsLoadingProgress)
{
    std::vector<std::pair<TProgressStage, int>> notices;
    TGIFImage image;
    image.OnProgress = [&](TProgressStage stage, int percent, const std::string& message) {
        EXPECT_EQ(message, "Loading...");
        notices.emplace_back(stage, percent);
    };
    const Bytes good = OneFrame().Image(4, 2, Bytes(8, 2), {.lzw = {2}}).Trailer().bytes;
    GIFByteStream stream(good.data(), good.size());
    image.LoadFromStream(stream);
    ASSERT_EQ(notices.size(), 4u);
    EXPECT_EQ(notices[0], std::make_pair(TProgressStage::psStarting, 0));
    EXPECT_EQ(notices[1].first, TProgressStage::psRunning);
    EXPECT_EQ(notices[2].first, TProgressStage::psRunning);
    EXPECT_LT(notices[1].second, notices[2].second);
    EXPECT_LT(notices[2].second, 100); // all but the trailer was read
    EXPECT_EQ(notices[3], std::make_pair(TProgressStage::psEnding, 100));

    notices.clear();
    const Bytes bad = {'G', 'I', 'F', '8', '9', 'a', 1};
    GIFByteStream badStream(bad.data(), bad.size());
    EXPECT_THROW(image.LoadFromStream(badStream), GIFException);
    EXPECT_EQ(notices.back(), std::make_pair(TProgressStage::psEnding, 0));
    EXPECT_TRUE(image.Empty()); // loading cleared the earlier picture
    EXPECT_EQ(image.Width(), 0);
}

TEST(GIFImageLoad, BackgroundColorLooksUpTheGlobalTable)
{
    const struct {
        const char* name;
        unsigned colors;
        std::uint8_t background;
        std::uint32_t color;
        std::vector<std::string> warnings;
        const char* error;
    } cases[] = {
        {"inside the table", 4, 2, 2u + 253u * 256 + 1u * 65536, {}, ""},
        {"outside the table: entry 0", 4, 9, 255u * 256, {"Invalid color index"}, ""},
        {"no table", 0, 0, 0, {"Invalid color index"}, "Color table is empty"},
    };
    for (const auto& c : cases) {
        gif::Loaded loaded = Load(GifBuilder().Header(1, 1, c.colors, c.background).bytes);
        std::vector<std::string> warnings;
        loaded.image->OnWarning = [&](const TGIFItem*, int severity, const std::string& message) {
            EXPECT_EQ(severity, 1);
            warnings.push_back(message);
        };
        std::string error;
        std::uint32_t color = 0;
        try {
            color = loaded.image->BackgroundColor();
        } catch (const GIFException& e) {
            error = e.what();
        }
        EXPECT_EQ(color, c.color) << c.name;
        EXPECT_EQ(warnings, c.warnings) << c.name;
        EXPECT_EQ(error, c.error) << c.name;
    }
}

namespace {
// A kind of our own for label 0x02, to show that the last registration for a label wins.
template <int Mark>
class MarkedExtension : public TGIFExtension {
public:
    using TGIFExtension::TGIFExtension;
    std::uint8_t Label() const override { return 0x02; }
    static std::unique_ptr<TGIFExtension> Create(TGIFSubImage& frame, GIFByteStream&)
    {
        return std::make_unique<MarkedExtension>(frame);
    }

protected:
    void ReadBody(GIFByteStream& stream) override { SkipSubBlocks(stream); }
};

template <int Mark>
class MarkedAppExtension : public TGIFApplicationExtension {
public:
    using TGIFApplicationExtension::TGIFApplicationExtension;
    static std::unique_ptr<TGIFApplicationExtension> Create(TGIFSubImage& frame)
    {
        return std::make_unique<MarkedAppExtension>(frame);
    }

protected:
    void ReadData(GIFByteStream& stream) override { SkipSubBlocks(stream); }
};
} // namespace

TEST(GIFExtensionRegistry, TheLastRegistrationWins)
{
    TGIFApplicationIdentifier identifier{};
    const std::string id = "MARKED__1.0";
    std::copy(id.begin(), id.end(), identifier.begin());
    RegisterExtension(0x02, MarkedExtension<1>::Create);
    RegisterExtension(0x02, MarkedExtension<2>::Create);
    RegisterApplicationExtension(identifier, MarkedAppExtension<1>::Create);
    RegisterApplicationExtension(identifier, MarkedAppExtension<2>::Create);

    const gif::Loaded loaded = Load(GifBuilder()
                                        .Header(1, 1, 2)
                                        .Raw({0x21, 0x02, 1, 0, 0})
                                        .Application(id, {{1}})
                                        .Image(1, 1, {1})
                                        .bytes);
    ASSERT_EQ(loaded.error, "");
    const TGIFSubImage& frame = loaded.Frame(0);
    ASSERT_EQ(frame.Extensions().size(), 2u);
    EXPECT_NE(dynamic_cast<const MarkedExtension<2>*>(frame.Extensions()[0].get()), nullptr);
    EXPECT_NE(dynamic_cast<const MarkedAppExtension<2>*>(frame.Extensions()[1].get()), nullptr);
}
