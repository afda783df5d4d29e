#include "imaging/gif/decoding/GIFLZWDecoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "imaging/gif/decoding/GIFException.h"
#include "tests/unit/imaging/GifBuilder.h"

using gif::Bytes;

namespace {

struct Decoded {
    Bytes pixels;
    std::vector<std::string> warnings;
    std::size_t left = 0; // bytes of the stream not consumed
};

constexpr std::uint8_t Fill = 0xEE;

Decoded Decode(GIFLZWDecoder& decoder, const Bytes& data, unsigned width, unsigned height, bool interlaced = false)
{
    Decoded d;
    d.pixels.assign(std::size_t(width) * height, static_cast<std::uint8_t>(~Fill));
    GIFByteStream stream(data.data(), data.size());
    decoder.Decode(stream, d.pixels.data(), width, height, interlaced, Fill,
                   [&](const std::string& message) { d.warnings.push_back(message); });
    d.left = stream.Left();
    return d;
}

Decoded Decode(const Bytes& data, unsigned width, unsigned height, bool interlaced = false)
{
    return Decode(*std::make_unique<GIFLZWDecoder>(), data, width, height, interlaced);
}

// Minimum code size byte, then the codes (value, width) in sub-blocks.
Bytes CodedData(unsigned minCodeSize, const std::vector<std::pair<unsigned, unsigned>>& codes,
                bool terminator = true, std::size_t blockSize = 255)
{
    gif::CodeWriter writer;
    for (const auto& [code, width] : codes)
        writer.Put(code, width);
    Bytes data{std::uint8_t(minCodeSize)};
    const Bytes blocks = gif::SubBlocks(writer.Finish(), blockSize, terminator);
    data.insert(data.end(), blocks.begin(), blocks.end());
    return data;
}

Bytes Encoded(const Bytes& pixels, const gif::LzwOptions& options, std::size_t blockSize = 255)
{
    Bytes data{std::uint8_t(options.minCodeSize)};
    const Bytes blocks = gif::SubBlocks(gif::LzwEncode(pixels, options), blockSize);
    data.insert(data.end(), blocks.begin(), blocks.end());
    return data;
}

Bytes Noise(std::size_t count, unsigned modulo)
{
    std::mt19937 random(7);
    Bytes out(count);
    for (auto& b : out)
        b = static_cast<std::uint8_t>(random() % modulo);
    return out;
}

// Runs of 1 to 40 pixels of colours 0..15: strings of every length from one byte to many chunks.
Bytes Runs(std::size_t count)
{
    std::mt19937 random(11);
    Bytes out;
    while (out.size() < count)
        out.insert(out.end(), std::min<std::size_t>(1 + random() % 40, count - out.size()),
                   static_cast<std::uint8_t>(random() % 16));
    return out;
}

// The frame's pixels in the order the data holds them.
Bytes StreamOrder(const Bytes& pixels, unsigned width, unsigned height, bool interlaced)
{
    return interlaced ? gif::Interlace(pixels, width, height) : pixels;
}

} // namespace

TEST(GIFLZWDecoder, DecodesWhatTheEncoderWrote)
{
    const struct {
        const char* name;
        Bytes pixels;
        unsigned width;
        gif::LzwOptions lzw;
        std::size_t blockSize;
    } cases[] = {
        {"two colours, minimum code size 1", Noise(600, 2), 30, {1}, 255},
        {"four colours", Noise(900, 4), 30, {2}, 255},
        {"a ramp of 256", gif::Ramp(2000), 40, {8}, 255},
        {"one long run (KwKwK strings)", Bytes(5000, 7), 50, {3}, 255},
        {"codes spanning one-byte sub-blocks", gif::Ramp(700, 16), 35, {4}, 1},
        {"full table cleared", Noise(90000, 256), 300, {8, true}, 255},
        {"full table kept with 12-bit codes until the end", Noise(90000, 256), 300, {8, false}, 255},
        {"minimum code size 11", gif::Ramp(3000), 100, {11}, 255},
    };
    for (const auto& c : cases) {
        const unsigned height = static_cast<unsigned>(c.pixels.size() / c.width);
        SCOPED_TRACE(c.name);
        const Decoded d = Decode(Encoded(c.pixels, c.lzw, c.blockSize), c.width, height);
        EXPECT_EQ(d.pixels, c.pixels) << c.name;
        EXPECT_TRUE(d.warnings.empty()) << c.name;
        EXPECT_EQ(d.left, 0u) << c.name;
    }
}

TEST(GIFLZWDecoder, FollowsTheCodeStreamAsWritten)
{
    // Minimum code size 2: clear 4, end 5, first free code 6, codes of 3 bits growing to 4 at entry 8.
    const struct {
        const char* name;
        Bytes data;
        unsigned width;
        Bytes pixels;
        std::vector<std::string> warnings;
        std::size_t left;
    } cases[] = {
        {"KwKwK: a code equal to the next free one",
         CodedData(2, {{4, 3}, {1, 3}, {6, 3}, {6, 3}, {5, 4}}), 5, {1, 1, 1, 1, 1}, {}, 0},
        {"width grows when the next free code reaches 8",
         CodedData(2, {{4, 3}, {0, 3}, {1, 3}, {2, 3}, {8, 4}, {5, 4}}), 5, {0, 1, 2, 2, 2}, {}, 0},
        {"decoding starts as if a clear was read; repeated clears are skipped",
         CodedData(2, {{2, 3}, {4, 3}, {4, 3}, {4, 3}, {3, 3}, {5, 3}}), 2, {2, 3}, {}, 0},
        {"the end code stops early and skips the remaining sub-blocks",
         CodedData(2, {{4, 3}, {1, 3}, {5, 3}, {1, 3}, {1, 3}, {1, 3}, {1, 3}, {1, 3}, {1, 3}}, true, 1),
         3, {1, 0xEE, 0xEE}, {}, 0},
        {"after the last pixel one more code is read, and the rest is skipped",
         CodedData(2, {{4, 3}, {1, 3}, {2, 3}, {4, 3}, {3, 3}, {3, 3}}, true, 1), 2, {1, 2}, {}, 0},
        {"no bit left after the zero-length block: under-run",
         CodedData(3, {{8, 4}, {1, 4}}), 3, {1, 0xEE, 0xEE}, {"Decoder bit buffer under-run"}, 0},
        {"some bits left after the zero-length block: ends quietly",
         CodedData(2, {{4, 3}, {1, 3}}), 3, {1, 0xEE, 0xEE}, {}, 0},
        {"a missing length byte ends decoding quietly",
         CodedData(3, {{8, 4}, {1, 4}, {2, 4}, {3, 4}}, false), 5, {1, 2, 3, 0xEE, 0xEE}, {}, 0},
        {"a sub-block longer than the stream: what is left is used",
         {3, 10, 8 | 1 << 4, 2 | 3 << 4}, 5, {1, 2, 3, 0xEE, 0xEE}, {"Premature end of data"}, 0},
        {"a missing minimum code size leaves the fill", {}, 2, {0xEE, 0xEE}, {}, 0},
        {"minimum code size 12 cannot fit the table: data skipped",
         {12, 2, 0x11, 0x22, 1, 0x33, 0, 0x3B}, 2, {0xEE, 0xEE}, {}, 1},
    };
    for (const auto& c : cases) {
        const Decoded d = Decode(c.data, c.width, 1);
        EXPECT_EQ(d.pixels, c.pixels) << c.name;
        EXPECT_EQ(d.warnings, c.warnings) << c.name;
        EXPECT_EQ(d.left, c.left) << c.name;
    }
}

TEST(GIFLZWDecoder, CodesNamingNoEntryAreACorruptTable)
{
    const Bytes cases[] = {
        CodedData(2, {{4, 3}, {1, 3}, {7, 3}, {5, 3}}), // 7 is beyond the next free code 6
        CodedData(2, {{4, 3}, {6, 3}, {5, 3}}),         // 6 right after a clear has no string to extend
    };
    for (const Bytes& data : cases) {
        try {
            Decode(data, 4, 1);
            ADD_FAILURE() << "no error";
        } catch (const GIFException& e) {
            EXPECT_STREQ(e.what(), "Circular decoder table entry");
        }
    }
}

TEST(GIFLZWDecoder, InterlacedFramesDecodeEveryRowOnce)
{
    const unsigned width = 3;
    for (unsigned height = 1; height <= 17; ++height) {
        Bytes rows;
        for (unsigned y = 0; y < height; ++y)
            rows.insert(rows.end(), width, static_cast<std::uint8_t>(y));
        const Bytes data = Encoded(gif::Interlace(rows, width, height), {5});
        const Decoded d = Decode(data, width, height, true);
        EXPECT_EQ(d.pixels, rows) << "height " << height;
        EXPECT_TRUE(d.warnings.empty()) << "height " << height;
    }
}

TEST(GIFLZWDecoder, DataCutShortLeavesTheFillAfterTheLastString)
{
    const unsigned width = 37, height = 29;
    const Bytes pixels = Runs(std::size_t(width) * height);
    for (const bool interlaced : {false, true}) {
        const Bytes stored = StreamOrder(pixels, width, height, interlaced);
        const Bytes data = Encoded(stored, {4});
        std::size_t previous = 0;
        for (std::size_t at = 2; at < data.size() + 3; at += 3) {
            const std::size_t cut = std::min(at, data.size());
            const Bytes part(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(cut));
            const Bytes got = StreamOrder(Decode(part, width, height, interlaced).pixels, width, height, interlaced);
            // What was decoded is a prefix of the pixels, never shorter for more data; the fill follows.
            const auto reached = static_cast<std::size_t>(
                std::mismatch(got.begin(), got.end(), stored.begin()).first - got.begin());
            EXPECT_GE(reached, previous) << "cut " << cut << (interlaced ? ", interlaced" : "");
            EXPECT_TRUE(std::all_of(got.begin() + static_cast<std::ptrdiff_t>(reached), got.end(),
                                    [](std::uint8_t p) { return p == Fill; }))
                << "cut " << cut << (interlaced ? ", interlaced" : "");
            previous = reached;
        }
        EXPECT_EQ(previous, pixels.size());
    }
}

TEST(GIFLZWDecoder, OneDecoderServesFramesOfEveryCodeSize)
{
    const auto decoder = std::make_unique<GIFLZWDecoder>();
    const unsigned sizes[] = {8, 2, 8, 11, 3, 3, 8};
    for (const unsigned size : sizes) {
        const Bytes pixels = Noise(4000, 1u << std::min(size, 8u));
        const Decoded d = Decode(*decoder, Encoded(pixels, {size}), 80, 50);
        EXPECT_EQ(d.pixels, pixels) << "minimum code size " << size;
    }
}
