#pragma once
// Test support: writes GIF streams block by block, with an LZW encoder of its own, so that fixtures read
// as the structure they stand for.
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace gif {

using Bytes = std::vector<std::uint8_t>;

// Codes packed least significant bit first.
class CodeWriter {
public:
    void Put(unsigned code, unsigned width)
    {
        bits_ |= static_cast<std::uint64_t>(code) << count_;
        count_ += width;
        while (count_ >= 8) {
            bytes_.push_back(static_cast<std::uint8_t>(bits_));
            bits_ >>= 8;
            count_ -= 8;
        }
    }
    Bytes Finish()
    {
        if (count_ > 0)
            bytes_.push_back(static_cast<std::uint8_t>(bits_));
        count_ = 0;
        bits_ = 0;
        return bytes_;
    }

private:
    Bytes bytes_;
    std::uint64_t bits_ = 0;
    unsigned count_ = 0;
};

struct LzwOptions {
    unsigned minCodeSize = 8;
    bool clearWhenFull = true; // false: keep the full table and go on with 12-bit codes
    bool endCode = true;
};

// The code stream of `indices` (each below 1 << minCodeSize), starting with a clear code.
inline Bytes LzwEncode(const Bytes& indices, const LzwOptions& o = {})
{
    const unsigned clear = 1u << o.minCodeSize;
    CodeWriter out;
    std::map<std::pair<unsigned, std::uint8_t>, unsigned> table;
    unsigned next = 0, width = o.minCodeSize + 1;
    bool firstAfterClear = true;
    auto reset = [&] {
        out.Put(clear, width);
        table.clear();
        next = clear + 2;
        width = o.minCodeSize + 1;
        firstAfterClear = true;
    };
    auto emit = [&](unsigned code) {
        out.Put(code, width);
        // The decoder widens its codes when an entry it adds reaches the limit; it adds none for the
        // first code after a clear.
        if (!firstAfterClear && next >= (1u << width) && width < 12)
            ++width;
        firstAfterClear = false;
    };
    reset();
    if (!indices.empty()) {
        unsigned prefix = indices[0];
        for (std::size_t i = 1; i < indices.size(); ++i) {
            const auto found = table.find({prefix, indices[i]});
            if (found != table.end()) {
                prefix = found->second;
                continue;
            }
            emit(prefix);
            if (next < 4096)
                table[{prefix, indices[i]}] = next++;
            else if (o.clearWhenFull)
                reset();
            prefix = indices[i];
        }
        emit(prefix);
    }
    if (o.endCode)
        out.Put(clear + 1, width);
    return out.Finish();
}

// Data split into sub-blocks of at most `blockSize` bytes, then the zero-length block when asked.
inline Bytes SubBlocks(const Bytes& data, std::size_t blockSize = 255, bool terminator = true)
{
    Bytes out;
    for (std::size_t at = 0; at < data.size(); at += blockSize) {
        const std::size_t size = std::min(blockSize, data.size() - at);
        out.push_back(static_cast<std::uint8_t>(size));
        out.insert(out.end(), data.begin() + at, data.begin() + at + size);
    }
    if (terminator)
        out.push_back(0);
    return out;
}

// Rows of a frame in the order an interlaced frame stores them.
inline Bytes Interlace(const Bytes& pixels, unsigned width, unsigned height)
{
    Bytes out;
    const unsigned start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (unsigned y = start[pass]; y < height; y += step[pass])
            out.insert(out.end(), pixels.begin() + y * width, pixels.begin() + (y + 1) * width);
    return out;
}

// `count` colours (a power of two, 2..256): entry i is (i, 255 - i, i / 2).
inline Bytes Colors(unsigned count)
{
    Bytes out;
    for (unsigned i = 0; i < count; ++i)
        out.insert(out.end(), {std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i / 2)});
    return out;
}

// The size field (bits 0-2) of a table of `count` entries.
inline std::uint8_t TableSizeField(unsigned count)
{
    std::uint8_t field = 0;
    while ((2u << field) < count)
        ++field;
    return field;
}

struct ImageOptions {
    std::uint16_t left = 0;
    std::uint16_t top = 0;
    bool interlaced = false;
    unsigned localColors = 0; // entries of a local table made by Colors(); 0 for none
    LzwOptions lzw{};
    std::size_t blockSize = 255;
};

class GifBuilder {
public:
    GifBuilder& Header(std::uint16_t width, std::uint16_t height, unsigned globalColors = 0,
                       std::uint8_t background = 0, const std::string& signature = "GIF89a")
    {
        return HeaderWithColors(width, height, Colors(globalColors), background, signature);
    }
    // `rgb`: the global table's bytes, a power of two of entries (none for no table).
    GifBuilder& HeaderWithColors(std::uint16_t width, std::uint16_t height, const Bytes& rgb,
                                 std::uint8_t background = 0, const std::string& signature = "GIF89a")
    {
        bytes.insert(bytes.end(), signature.begin(), signature.end());
        Word(width).Word(height);
        const unsigned count = static_cast<unsigned>(rgb.size() / 3);
        const std::uint8_t packed = count > 0 ? std::uint8_t(0x80 | 0x70 | TableSizeField(count)) : 0;
        Raw({packed, background, 0});
        return Raw(rgb);
    }
    GifBuilder& Raw(const Bytes& more)
    {
        bytes.insert(bytes.end(), more.begin(), more.end());
        return *this;
    }
    GifBuilder& Raw(std::initializer_list<std::uint8_t> more) { return Raw(Bytes(more)); }
    GifBuilder& Word(std::uint16_t value) { return Raw({std::uint8_t(value), std::uint8_t(value >> 8)}); }

    // packed: disposal << 2 | user input << 1 | transparency
    GifBuilder& GraphicControl(std::uint8_t packed, std::uint16_t delay = 0, std::uint8_t transparentIndex = 0)
    {
        Raw({0x21, 0xF9, 4, packed}).Word(delay);
        return Raw({transparentIndex, 0});
    }
    GifBuilder& Comment(const std::vector<std::string>& lines)
    {
        Raw({0x21, 0xFE});
        for (const std::string& line : lines) {
            bytes.push_back(static_cast<std::uint8_t>(line.size()));
            Raw(Bytes(line.begin(), line.end()));
        }
        return Raw({0});
    }
    GifBuilder& Application(const std::string& identifier, const std::vector<Bytes>& blocks)
    {
        Raw({0x21, 0xFF, 11}).Raw(Bytes(identifier.begin(), identifier.end()));
        for (const Bytes& block : blocks)
            Raw({std::uint8_t(block.size())}).Raw(block);
        return Raw({0});
    }
    GifBuilder& Loop(std::uint16_t count)
    {
        return Application("NETSCAPE2.0", {{1, std::uint8_t(count), std::uint8_t(count >> 8)}});
    }
    GifBuilder& Descriptor(std::uint16_t width, std::uint16_t height, const ImageOptions& o = {})
    {
        Raw({0x2C}).Word(o.left).Word(o.top).Word(width).Word(height);
        std::uint8_t packed = o.interlaced ? 0x40 : 0;
        if (o.localColors > 0)
            packed |= 0x80 | TableSizeField(o.localColors);
        Raw({packed});
        return Raw(Colors(o.localColors));
    }
    // A whole frame: descriptor, local table, minimum code size and the coded pixels in sub-blocks.
    GifBuilder& Image(std::uint16_t width, std::uint16_t height, const Bytes& pixels, const ImageOptions& o = {})
    {
        Descriptor(width, height, o);
        const Bytes stored = o.interlaced ? Interlace(pixels, width, height) : pixels;
        Raw({std::uint8_t(o.lzw.minCodeSize)});
        return Raw(SubBlocks(LzwEncode(stored, o.lzw), o.blockSize));
    }
    GifBuilder& Trailer() { return Raw({0x3B}); }

    Bytes bytes;
};

// Pixels 0, 1, 2, ... modulo `modulo`.
inline Bytes Ramp(std::size_t count, unsigned modulo = 256)
{
    Bytes out(count);
    for (std::size_t i = 0; i < count; ++i)
        out[i] = static_cast<std::uint8_t>(i % modulo);
    return out;
}

} // namespace gif
