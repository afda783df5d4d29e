#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/unit/imaging/GifTestLoad.h"

using gif::Bytes;
using gif::GifBuilder;
using gif::Load;

namespace {

GIFDibColor Dib(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return {b, g, r, 0};
}

} // namespace

static bool operator==(const GIFDibColor& a, const GIFDibColor& b)
{
    return a.rgbRed == b.rgbRed && a.rgbGreen == b.rgbGreen && a.rgbBlue == b.rgbBlue && a.rgbReserved == b.rgbReserved;
}

static void PrintTo(const GIFDibColor& c, std::ostream* out)
{
    *out << "rgb(" << int(c.rgbRed) << ", " << int(c.rgbGreen) << ", " << int(c.rgbBlue) << ")";
}

TEST(GIFFrameRender, BitmapHoldsTheIndicesUnderThePaletteWithBlackAfterIt)
{
    // 128 global colours; index 200 lies beyond them.
    const Bytes pixels = {0, 127, 200, 5, 1, 2, 3, 4, 200, 0};
    gif::Loaded loaded = Load(GifBuilder().Header(5, 2, 128).Image(5, 2, pixels).bytes);
    const GIFIndexedBitmap* bitmap = loaded.Frame(0).FrameBitmap();
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->Stride, 8u);
    EXPECT_EQ(bitmap->Bits.size(), 16u);
    for (std::uint32_t y = 0; y < 2; ++y)
        for (std::uint32_t x = 0; x < 5; ++x)
            EXPECT_EQ(bitmap->Index(x, y), pixels[y * 5 + x]);
    EXPECT_EQ(bitmap->ColorTable[0], Dib(0, 255, 0));
    EXPECT_EQ(bitmap->ColorTable[127], Dib(127, 128, 63));
    EXPECT_EQ(bitmap->ColorTable[128], Dib(0, 0, 0));
    EXPECT_EQ(bitmap->ColorTable[200], Dib(0, 0, 0));
    EXPECT_EQ(loaded.Frame(0).FrameBitmap(), bitmap); // made once, then kept
}

TEST(GIFFrameRender, FramePaletteComesFromTheLocalTableElseThePicture)
{
    const Bytes four = gif::Colors(4);
    const struct {
        const char* name;
        unsigned globalColors;
        unsigned firstLocal;
        unsigned secondLocal;
        GIFDibColor second0; // slot 0 of the second frame's bitmap
        const char* error;
    } cases[] = {
        {"global table", 4, 0, 0, Dib(0, 255, 0), ""},
        {"own local table", 4, 0, 8, Dib(0, 255, 0), ""},
        {"no global table: frame 0's colours", 0, 2, 0, Dib(0, 255, 0), ""},
        {"no colour table at all", 0, 0, 0, Dib(0, 0, 0), "No global or local color table defined"},
    };
    for (const auto& c : cases) {
        gif::Loaded loaded = Load(GifBuilder()
                                      .Header(2, 1, c.globalColors)
                                      .Image(2, 1, {0, 1}, {.localColors = c.firstLocal, .lzw = {2}})
                                      .Image(2, 1, {1, 1}, {.localColors = c.secondLocal, .lzw = {3}})
                                      .bytes);
        std::string error;
        try {
            const GIFIndexedBitmap* bitmap = loaded.Frame(1).FrameBitmap();
            ASSERT_NE(bitmap, nullptr);
            EXPECT_EQ(bitmap->ColorTable[0], c.second0) << c.name;
            const unsigned count = c.secondLocal ? c.secondLocal : c.globalColors ? c.globalColors : c.firstLocal;
            EXPECT_EQ(loaded.Frame(1).Palette().size(), count) << c.name;
            EXPECT_EQ(bitmap->ColorTable[count], Dib(0, 0, 0)) << c.name;
        } catch (const GIFException& e) {
            error = e.what();
        }
        EXPECT_EQ(error, c.error) << c.name;
    }
}

TEST(GIFFrameRender, MaskSetsABitWherePixelsAreTransparent)
{
    // 17 pixels a row: rows of 2 x 16 bits; transparent index 3.
    Bytes pixels(17 * 2, 1);
    pixels[0] = pixels[9] = pixels[16] = pixels[17 + 7] = 3;
    gif::Loaded loaded = Load(GifBuilder().Header(17, 2, 4).GraphicControl(1, 0, 3).Image(17, 2, pixels, {.lzw = {2}}).bytes);
    TGIFSubImage& frame = loaded.Frame(0);
    EXPECT_TRUE(frame.MaskNeeded());
    const GIFBitMask* mask = frame.TransparencyMask();
    ASSERT_NE(mask, nullptr);
    EXPECT_FALSE(frame.MaskNeeded());
    EXPECT_EQ(mask->Stride, 4u);
    EXPECT_EQ(mask->Bits, (Bytes{0x80, 0x40, 0x80, 0x00, 0x01, 0x00, 0x00, 0x00}));
    EXPECT_TRUE(mask->IsSet(16, 0));
    EXPECT_FALSE(mask->IsSet(15, 0));
}

TEST(GIFFrameRender, MaskExistsOnlyWhenSomePixelIsTransparent)
{
    const struct {
        const char* name;
        std::uint8_t controlPacked;
        std::uint8_t pixel;
        bool mask;
        bool maskNeededAfter;
    } cases[] = {
        {"transparent frame with a transparent pixel", 1, 3, true, false},
        {"transparent frame without one", 1, 2, false, false},
        {"opaque frame", 0, 3, false, true},
    };
    for (const auto& c : cases) {
        gif::Loaded loaded = Load(
            GifBuilder().Header(454, 1, 4).GraphicControl(c.controlPacked, 0, 3).Image(454, 1, Bytes(454, c.pixel), {.lzw = {2}}).bytes);
        TGIFSubImage& frame = loaded.Frame(0);
        const GIFBitMask* mask = frame.TransparencyMask();
        EXPECT_EQ(mask != nullptr, c.mask) << c.name;
        if (mask != nullptr) {
            EXPECT_EQ(mask->Stride, 58u) << c.name;
        }
        EXPECT_EQ(frame.MaskNeeded(), c.maskNeededAfter) << c.name;
        EXPECT_NE(frame.FrameBitmap(), nullptr) << c.name;
    }
}

TEST(GIFFrameRender, EmptyFramesHaveNoBitmap)
{
    gif::Loaded loaded = Load(GifBuilder().Header(2, 1, 4).Image(2, 1, {1, 1}, {.lzw = {2}}).GraphicControl(1).Trailer().bytes);
    TGIFSubImage& last = loaded.Frame(1);
    EXPECT_EQ(last.FrameBitmap(), nullptr);
    EXPECT_EQ(last.TransparencyMask(), nullptr);
}

TEST(GIFFrameRender, DithersOntoThe216ColourPaletteWhenAsked)
{
    // Colour 0 is a colour of the 216-colour palette; colour 1 is mid grey.
    const Bytes colors = {51, 102, 153, 128, 128, 128};
    const struct {
        const char* name;
        GIFRenderOptions options;
        bool dithered;
    } cases[] = {
        {"default options on a true-colour display", {true, true, false}, false},
        {"default options on a palette display", {true, true, true}, true},
        {"dithering on every display", {true, false, false}, true},
        {"no dithering", {false, false, true}, false},
    };
    for (const auto& c : cases) {
        Bytes pixels(16 * 16, 1);
        std::fill(pixels.begin(), pixels.begin() + 16, 0);
        gif::Loaded loaded = Load(GifBuilder().HeaderWithColors(16, 16, colors).Image(16, 16, pixels, {.lzw = {2}}).bytes);
        loaded.image->RenderOptions = c.options;
        TGIFSubImage& frame = loaded.Frame(0);
        const GIFIndexedBitmap* bitmap = frame.FrameBitmap();
        ASSERT_NE(bitmap, nullptr);
        if (!c.dithered) {
            EXPECT_EQ(bitmap->Index(0, 0), 0) << c.name;
            EXPECT_EQ(bitmap->ColorTable[1], Dib(128, 128, 128)) << c.name;
            continue;
        }
        EXPECT_EQ(frame.Palette().size(), 216u) << c.name;
        EXPECT_EQ(bitmap->ColorTable[215], Dib(255, 255, 255)) << c.name;
        EXPECT_EQ(bitmap->ColorTable[216], Dib(0, 0, 0)) << c.name;
        for (std::uint32_t x = 0; x < 16; ++x)
            EXPECT_EQ(bitmap->Index(x, 0), 1 * 36 + 2 * 6 + 3) << c.name; // exact: (51, 102, 153)
        int sum = 0, levels[2] = {0, 0};
        for (std::uint32_t y = 1; y < 16; ++y)
            for (std::uint32_t x = 0; x < 16; ++x) {
                const GIFDibColor& shown = bitmap->ColorTable[bitmap->Index(x, y)];
                sum += shown.rgbRed;
                levels[shown.rgbRed == 102 ? 0 : 1] += 1;
            }
        EXPECT_NEAR(sum / (15.0 * 16), 128.0, 3.0) << c.name;
        EXPECT_GT(levels[0], 0) << c.name;
        EXPECT_GT(levels[1], 0) << c.name;
    }
}

TEST(GIFFrameRender, ReportsRenderingProgress)
{
    const struct {
        const char* name;
        unsigned colors;
        std::vector<std::pair<TProgressStage, int>> notices;
    } cases[] = {
        {"70 rows", 4,
         {{TProgressStage::psStarting, 0},
          {TProgressStage::psRunning, 45},
          {TProgressStage::psRunning, 91},
          {TProgressStage::psEnding, 100}}},
        {"an error ends at 0", 0, {{TProgressStage::psStarting, 0}, {TProgressStage::psEnding, 0}}},
    };
    for (const auto& c : cases) {
        gif::Loaded loaded = Load(GifBuilder().Header(3, 70, c.colors).Image(3, 70, Bytes(210, 1), {.lzw = {2}}).bytes);
        std::vector<std::pair<TProgressStage, int>> notices;
        loaded.image->OnProgress = [&](TProgressStage stage, int percent, const std::string& message) {
            EXPECT_EQ(message, "Rendering...");
            notices.emplace_back(stage, percent);
        };
        try {
            loaded.Frame(0).FrameBitmap();
        } catch (const GIFException&) {
        }
        EXPECT_EQ(notices, c.notices) << c.name;
    }
}
