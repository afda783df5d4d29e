// The two committed pictures have the structure the update window's layout promises.
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "imaging/gif/decoding/GIFAppExtNSLoop.h"
#include "imaging/gif/decoding/GIFGraphicControlExtension.h"
#include "tests/unit/imaging/GifTestLoad.h"
#include "tests/unit/imaging/JpegTestStreams.h"
#include "tests/unit/imaging/ResourceFile.h"

using jpegtest::Bytes;

namespace {

unsigned Word(const Bytes& bytes, std::size_t at, bool bigEndian)
{
    return bigEndian ? bytes.at(at) << 8 | bytes.at(at + 1) : bytes.at(at) | bytes.at(at + 1) << 8;
}

// The minimum code size byte of every image in a well-formed GIF, walking its blocks.
std::vector<int> MinimumCodeSizes(const Bytes& gif)
{
    auto skipSubBlocks = [&gif](std::size_t at) {
        while (gif.at(at) != 0)
            at += gif[at] + 1u;
        return at + 1;
    };
    auto tableSize = [](std::uint8_t packed) { return (packed & 0x80) ? 3u * (2u << (packed & 7)) : 0u; };
    std::vector<int> sizes;
    std::size_t at = 13 + tableSize(gif.at(10));
    while (gif.at(at) != 0x3B) {
        if (gif[at] == 0x21) {
            at = skipSubBlocks(at + 2);
            continue;
        }
        at += 10 + tableSize(gif.at(at + 9));
        sizes.push_back(gif.at(at));
        at = skipSubBlocks(at + 1);
    }
    return sizes;
}

// The JPEG stream's marker segments up to the first scan: marker -> its body (after the length).
std::multimap<int, Bytes> HeaderSegments(const Bytes& jpeg)
{
    std::multimap<int, Bytes> segments;
    std::size_t at = 2;
    while (jpeg.at(at) == 0xFF && jpeg.at(at + 1) != 0xDA) {
        const int marker = jpeg[at + 1];
        const unsigned length = Word(jpeg, at + 2, true);
        segments.emplace(marker, Bytes(jpeg.begin() + long(at) + 4, jpeg.begin() + long(at + 2 + length)));
        at += 2 + length;
    }
    return segments;
}

} // namespace

TEST(ArtworkTest, StripHasTheAnimationsStructure)
{
    const Bytes strip = ReadResource("Strip.gif");
    const gif::Loaded loaded = gif::Load(strip);
    ASSERT_EQ(loaded.error, "");
    EXPECT_TRUE(loaded.warnings.empty());
    const TGIFImage& image = *loaded.image;
    EXPECT_EQ(std::string(image.Header.Signature.begin(), image.Header.Signature.end()), "GIF89a");
    EXPECT_EQ(image.Width(), 454);
    EXPECT_EQ(image.Height(), 23);
    EXPECT_EQ(image.Header.ColorMap.Count(), 256u);
    EXPECT_EQ(image.Header.BackgroundIndex, 255);
    ASSERT_EQ(image.Images.Count(), 84u);

    const std::map<int, std::pair<int, int>> narrow = {{10, {0, 453}}, {32, {0, 404}}, {53, {17, 437}}, {57, {0, 453}}};
    for (std::size_t i = 0; i < image.Images.Count(); ++i) {
        SCOPED_TRACE("frame " + std::to_string(i));
        const TGIFSubImage& frame = image.Images[i];
        const auto found = narrow.find(int(i));
        const std::pair<int, int> leftAndWidth = found == narrow.end() ? std::make_pair(0, 454) : found->second;
        EXPECT_EQ(std::make_pair(int(frame.Descriptor.Left), int(frame.Descriptor.Width)), leftAndWidth);
        EXPECT_EQ(frame.Descriptor.Top, 0);
        EXPECT_EQ(frame.Descriptor.Height, 23);
        const TGIFGraphicControlExtension* control = frame.GraphicControlExtension();
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->Disposal(), 1);
        EXPECT_EQ(control->Delay, 0);
        EXPECT_TRUE(control->Transparent());
        EXPECT_EQ(control->TransparentColorIndex, 255);
        int loops = 0;
        for (const auto& extension : frame.Extensions())
            if (const auto* loop = dynamic_cast<const TGIFAppExtNSLoop*>(extension.get())) {
                EXPECT_EQ(loop->Loops, 0);
                ++loops;
            }
        EXPECT_EQ(loops, i == 0 ? 1 : 0);
    }
    EXPECT_EQ(MinimumCodeSizes(strip), std::vector<int>(84, 8));
}

TEST(ArtworkTest, BannerIsABaselineJfifStream)
{
    const Bytes banner = ReadResource("Banner.jpg");
    ASSERT_GT(banner.size(), 4u);
    EXPECT_EQ(Word(banner, 0, true), 0xFFD8u);
    EXPECT_EQ(Word(banner, banner.size() - 2, true), 0xFFD9u);
    const std::multimap<int, Bytes> segments = HeaderSegments(banner);

    ASSERT_EQ(segments.count(0xE0), 1u);
    const Bytes& jfif = segments.find(0xE0)->second;
    EXPECT_EQ(Bytes(jfif.begin(), jfif.begin() + 5), (Bytes{'J', 'F', 'I', 'F', 0}));
    EXPECT_EQ((Bytes(jfif.begin() + 5, jfif.begin() + 12)), (Bytes{1, 2, 1, 0, 72, 0, 72})); // 1.02, dpi, 72 x 72

    for (int sof : {0xC1, 0xC2, 0xC3, 0xC5, 0xC6, 0xC7, 0xC9, 0xCA, 0xCB, 0xCD, 0xCE, 0xCF})
        EXPECT_EQ(segments.count(sof), 0u) << std::hex << sof;
    ASSERT_EQ(segments.count(0xC0), 1u);
    const Bytes& frame = segments.find(0xC0)->second;
    EXPECT_EQ(frame.at(0), 8); // sample precision
    EXPECT_EQ(Word(frame, 1, true), 130u);
    EXPECT_EQ(Word(frame, 3, true), 348u);
    ASSERT_EQ(frame.at(5), 3);
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(frame.at(6 + 3 * c + 1), 0x11) << "component " << c;

    ASSERT_EQ(segments.count(0xDD), 1u);
    EXPECT_EQ(Word(segments.find(0xDD)->second, 0, true), 44u);
}
