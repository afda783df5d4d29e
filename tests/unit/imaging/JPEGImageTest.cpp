#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <jerror.h>

#include "imaging/jpeg/JPEGError.h"
#include "imaging/jpeg/JPEGImage.h"
#include "tests/unit/imaging/JpegTestStreams.h"
#include "tests/unit/imaging/ResourceFile.h"

using jpegtest::Block;
using jpegtest::Bytes;
using jpegtest::Raster;

namespace {

const Bytes& Banner()
{
    static const Bytes stream = ReadResource("Banner.jpg");
    return stream;
}

void Read(TJPEGImage& image, const Bytes& block)
{
    ASSERT_EQ(image.ReadData(block.data(), block.size()), block.size());
}

// 0xAARRGGBB of the reference's pixel, opaque.
std::uint32_t ReferencePixel(const Raster& raster, int x, int y)
{
    const std::uint8_t* rgb = &raster.samples[(std::size_t(y) * raster.width + x) * 3];
    return 0xFF000000u | std::uint32_t(rgb[0]) << 16 | std::uint32_t(rgb[1]) << 8 | rgb[2];
}

// Counts the pixels that differ from the reference in rows [firstRow, lastRow).
int Mismatches(const PixelSurface& pixels, const Raster& reference, int firstRow, int lastRow)
{
    int count = 0;
    for (int y = firstRow; y < lastRow; ++y)
        for (int x = 0; x < pixels.Width(); ++x)
            count += pixels.Pixel(x, y) != ReferencePixel(reference, x, y);
    return count;
}

// The mean difference of a sample from the reference's (red, green and blue, or gray against blue).
double MeanDifference(const PixelSurface& pixels, const Raster& reference)
{
    long total = 0;
    for (int y = 0; y < pixels.Height(); ++y)
        for (int x = 0; x < pixels.Width(); ++x)
            for (int c = 0; c < reference.components; ++c) {
                const int sample = reference.samples[(std::size_t(y) * reference.width + x) * reference.components + c];
                total += std::abs(int(pixels.Pixel(x, y) >> (8 * (reference.components - 1 - c)) & 0xFF) - sample);
            }
    return double(total) / (double(pixels.Width()) * pixels.Height() * reference.components);
}

std::string DecodeError(TJPEGImage& image)
{
    try {
        image.Bitmap();
    } catch (const EJPEG& e) {
        return e.what();
    }
    return "";
}

std::string JpegError(int code)
{
    return "JPEG error #" + std::to_string(code);
}

} // namespace

TEST(JPEGImageTest, BannerReportsItsHeaderWithoutDecoding)
{
    TJPEGImage image;
    int changes = 0;
    image.OnChange = [&changes] { ++changes; };
    Read(image, Block(Banner()));

    EXPECT_EQ(image.Width(), 348);
    EXPECT_EQ(image.Height(), 130);
    EXPECT_FALSE(image.Decoded());
    EXPECT_FALSE(image.Data()->Grayscale);
    EXPECT_FALSE(image.ProgressiveEncoding());
    EXPECT_EQ(image.Data()->Stream, Banner());
    EXPECT_EQ(changes, 1);

    const TJPEGImage copy = image;
    EXPECT_EQ(copy.Data().get(), image.Data().get());
}

TEST(JPEGImageTest, DecodesOnceToTheLibrarysPixels)
{
    TJPEGImage image;
    Read(image, Block(Banner()));
    const TJPEGBitmap& bitmap = image.Bitmap();

    ASSERT_EQ(bitmap.Pixels.Width(), 348);
    ASSERT_EQ(bitmap.Pixels.Height(), 130);
    EXPECT_EQ(Mismatches(bitmap.Pixels, jpegtest::ReferenceDecode(Banner()), 0, 130), 0);
    EXPECT_TRUE(bitmap.Palette.empty());
    EXPECT_EQ(&image.Bitmap(), &bitmap);
}

TEST(JPEGImageTest, StreamKindsDecodeLikeTheLibrary)
{
    struct Case {
        const char* name;
        int components;
        bool progressive;
    } cases[] = {{"colour progressive", 3, true}, {"gray baseline", 1, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes stream = jpegtest::Encode(jpegtest::Ramps(37, 21, c.components), c.progressive);
        TJPEGImage image;
        Read(image, Block(stream));
        EXPECT_EQ(image.ProgressiveEncoding(), c.progressive);
        EXPECT_EQ(image.Data()->Grayscale, c.components == 1);
        const PixelSurface& pixels = image.Bitmap().Pixels;
        if (c.components == 3) {
            EXPECT_EQ(Mismatches(pixels, jpegtest::ReferenceDecode(stream), 0, 21), 0);
            continue;
        }
        for (int y = 0; y < pixels.Height(); ++y)
            for (int x = 0; x < pixels.Width(); ++x)
                EXPECT_EQ(pixels.Pixel(x, y) & 0xFF, (pixels.Pixel(x, y) >> 16) & 0xFF);
    }
}

// 8-bit pixels on a palette display, and gray output at any pixel format, are quantised: every pixel is
// a palette colour, there are at most 236, and on the whole they stay close to the true colours.
TEST(JPEGImageTest, QuantisedOutputKeepsToItsPalette)
{
    struct Case {
        const char* name;
        bool paletteDisplay;
        bool grayscale;
        TJPEGPerformance performance;
        double meanDifference; // ordered dithering strays further pixel by pixel than error diffusion
    } cases[] = {
        {"palette display", true, false, TJPEGPerformance::jpBestQuality, 4},
        {"palette display, best speed", true, false, TJPEGPerformance::jpBestSpeed, 20},
        {"gray output", false, true, TJPEGPerformance::jpBestQuality, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TJPEGImage image(c.paletteDisplay);
        image.Settings.Grayscale = c.grayscale;
        image.Settings.Performance = c.performance;
        Read(image, Block(Banner()));
        const TJPEGBitmap& bitmap = image.Bitmap();
        ASSERT_EQ(bitmap.Pixels.Width(), 348);

        std::set<std::uint32_t> palette, used;
        for (const PaletteEntry& e : bitmap.Palette) {
            palette.insert(0xFF000000u | std::uint32_t(e.peRed) << 16 | std::uint32_t(e.peGreen) << 8 | e.peBlue);
            EXPECT_TRUE(!c.grayscale || (e.peRed == e.peGreen && e.peGreen == e.peBlue));
        }
        for (int y = 0; y < bitmap.Pixels.Height(); ++y)
            for (int x = 0; x < bitmap.Pixels.Width(); ++x)
                used.insert(bitmap.Pixels.Pixel(x, y));
        EXPECT_LE(bitmap.Palette.size(), 236u);
        EXPECT_GT(used.size(), 16u);
        const Raster reference = jpegtest::ReferenceDecode(Banner(), c.grayscale ? JCS_GRAYSCALE : JCS_RGB);
        EXPECT_LT(MeanDifference(bitmap.Pixels, reference), c.meanDifference);
        for (std::uint32_t color : used)
            EXPECT_EQ(palette.count(color), 1u) << std::hex << color;
    }
}

TEST(JPEGImageTest, ZeroLengthBlockFailsItsFirstDrawOnly)
{
    TJPEGImage image;
    std::vector<int> endings;
    image.OnProgress = [&endings](TProgressStage stage, int percent, const std::string&) {
        if (stage == TProgressStage::psEnding)
            endings.push_back(percent);
    };
    Read(image, Block({}));
    EXPECT_TRUE(image.Empty());
    EXPECT_EQ(image.Width(), 0);

    EXPECT_EQ(DecodeError(image), JpegError(JERR_INPUT_EMPTY));
    EXPECT_TRUE(image.Bitmap().Pixels.Empty());
    EXPECT_EQ(endings, std::vector<int>{0});
}

TEST(JPEGImageTest, StreamCutShortDecodesWithoutError)
{
    const Bytes stream = Banner();
    const Bytes cut(stream.begin(), stream.begin() + stream.size() / 2);
    TJPEGImage image;
    Read(image, Block(cut));
    const PixelSurface& pixels = image.Bitmap().Pixels;

    ASSERT_EQ(pixels.Width(), 348);
    ASSERT_EQ(pixels.Height(), 130);
    EXPECT_EQ(Mismatches(pixels, jpegtest::ReferenceDecode(stream), 0, 16), 0);
    EXPECT_EQ(pixels.Pixel(347, 129) >> 24, 0xFFu); // the decoder filled the rows it did not reach
}

TEST(JPEGImageTest, BadBlocksAndStreamsAreRefused)
{
    const Bytes banner = Banner();
    const std::uint32_t length = static_cast<std::uint32_t>(banner.size());
    struct Case {
        const char* name;
        Bytes block;
        std::string error;
    } cases[] = {
        {"no length", {}, "Stream read error"},
        {"length cut short", {5, 0, 0}, "Stream read error"},
        {"stream shorter than its length", Block(banner, length + 1), "Stream read error"},
        {"negative length", Block(banner, 0xFFFFFFFFu), "Stream read error"},
        {"not a JPEG stream", Block({'G', 'I', 'F', '8', '9', 'a'}), JpegError(JERR_NO_SOI)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TJPEGImage image;
        Read(image, Block(banner));
        int changes = 0;
        image.OnChange = [&changes] { ++changes; };
        try {
            image.ReadData(c.block.data(), c.block.size());
            ADD_FAILURE() << "read without error";
        } catch (const EAppError& e) {
            EXPECT_EQ(e.what(), c.error);
        }
        EXPECT_EQ(changes, 0);
    }
}

TEST(JPEGImageTest, SizeCannotBeChangedOrExceedTheLimit)
{
    TJPEGImage image;
    Read(image, Block(Banner()));
    for (auto set : {&TJPEGImage::SetWidth, &TJPEGImage::SetHeight}) {
        try {
            (image.*set)(10);
            ADD_FAILURE() << "size changed";
        } catch (const EAppError& e) {
            EXPECT_STREQ(e.what(), "Cannot change the size of a JPEG image");
        }
    }
    image.MaxDecodePixels = 348 * 130 - 1;
    EXPECT_EQ(DecodeError(image), JpegError(JERR_IMAGE_TOO_BIG));
}

// Running notices come from the library only when the percentage has changed and 500 ms have passed.
TEST(JPEGImageTest, ProgressNoticesAreBracketedAndThrottled)
{
    struct Case {
        const char* name;
        std::uint64_t stepMs;
        bool running;
    } cases[] = {{"clock standing still", 0, false}, {"clock running", 600, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TJPEGImage image;
        std::uint64_t now = 0;
        image.Clock = [&now, &c] { return now += c.stepMs; };
        std::vector<std::pair<TProgressStage, int>> notices;
        image.OnProgress = [&notices](TProgressStage stage, int percent, const std::string&) {
            notices.push_back({stage, percent});
        };
        Read(image, Block(Banner()));
        image.Bitmap();

        ASSERT_GE(notices.size(), 2u);
        EXPECT_EQ(notices.front(), std::make_pair(TProgressStage::psStarting, 0));
        EXPECT_EQ(notices.back(), std::make_pair(TProgressStage::psEnding, 100));
        EXPECT_EQ(notices.size() > 2, c.running);
        for (std::size_t i = 2; i + 1 < notices.size(); ++i)
            EXPECT_GT(notices[i].second, notices[i - 1].second);
    }
}
