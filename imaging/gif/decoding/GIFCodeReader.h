#pragma once
// Variable-width codes (1 to 12 bits, least significant bit first) from the data sub-blocks of one
// frame's image data. Sub-blocks are read one at a time, only when the bits in hand run out; a code
// may span two sub-blocks.
//
// The bits in hand are a GIFCodeBits value that the decoding loop keeps in its own variables, so that
// the code of every step is taken inline from a 64-bit buffer; the reader fetches sub-blocks into its
// block buffer only when the loop's inline refill cannot find enough bytes there.
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>

#include "imaging/gif/decoding/GIFByteStream.h"

// Unread bits of the image data: `bits` holds `count` of them, the oldest lowest, and above them only
// bits of the bytes from `next` on, or zeros; `next`..`end` are the unread bytes of the current sub-block.
struct GIFCodeBits {
    std::uint64_t bits = 0;
    unsigned count = 0; // 0..63
    const std::uint8_t* next = nullptr;
    const std::uint8_t* end = nullptr;
};

class GIFCodeReader {
public:
    using WarningSink = std::function<void(const std::string& message)>;

    // Reads from the stream's current position (the first sub-block's length byte).
    GIFCodeReader(GIFByteStream& stream, const WarningSink& warn);
    GIFCodeReader(const GIFCodeReader&) = delete;
    GIFCodeReader& operator=(const GIFCodeReader&) = delete;

    // No bits in hand, nothing of the current sub-block left.
    GIFCodeBits Start() const { return {0, 0, block_, block_}; }

    // Takes the next code of `width` bits (1..12) out of `in`. False when the data has ended: the length
    // byte is missing, or the zero-length block has been read (warning "Decoder bit buffer under-run"
    // when not a single unread bit was left then). A sub-block longer than the rest of the stream gives
    // the warning "Premature end of data" and only what is left is used.
    bool Read(GIFCodeBits& in, unsigned width, unsigned& code)
    {
        if (in.count < width) {
            if (in.end - in.next >= 8)
                LoadWord(in);
            else if (in = Refill(in, width); in.count < width)
                return false;
        }
        code = static_cast<unsigned>(in.bits) & ((1u << width) - 1);
        in.bits >>= width;
        in.count -= width;
        return true;
    }

    // Skips what is left of the image data, up to and including the zero-length block, unless that has
    // been read already; stops quietly at the end of the stream.
    void SkipRest();

private:
    static constexpr unsigned MaxBlock = 255;
    static constexpr unsigned Padding = 8; // zeros after the sub-block, so that a word load never runs past it

    // Eight bytes at `at`, the first lowest.
    static std::uint64_t WordAt(const std::uint8_t* at)
    {
        std::uint64_t word;
        std::memcpy(&word, at, sizeof word);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
        word = __builtin_bswap64(word);
#endif
        return word;
    }

    // Tops the bits up to 56..63 from at least 8 bytes of the sub-block.
    static void LoadWord(GIFCodeBits& in)
    {
        in.bits |= WordAt(in.next) << in.count;
        in.next += (63 - in.count) >> 3;
        in.count |= 56;
    }

    // Loads what the current sub-block has, and the following sub-blocks while fewer than `width` bits
    // are in hand; fewer on return: the data has ended.
    GIFCodeBits Refill(GIFCodeBits in, unsigned width);
    bool FetchSubBlock(GIFCodeBits& in);

    GIFByteStream& stream_;
    const WarningSink& warn_;
    std::uint8_t block_[MaxBlock + Padding];
    bool terminated_ = false; // the zero-length block has been read
    bool exhausted_ = false;  // the stream ended where a length byte should be
};
