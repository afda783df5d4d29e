#pragma once
// The LZW decoder of GIF image data.
//
// Decode() reads, from the stream's current position, the minimum code size byte and the data
// sub-blocks of one frame, and writes colour indices into `pixels` (width x height bytes that the caller
// has filled beforehand: pixels the data never reaches keep that fill). It leaves the stream after the
// image data's zero-length block, or at the end of the stream.
//
// Ranges: the code table holds 4096 entries (codes of at most 12 bits) and a string is at most 4096
// bytes long; both live in fixed arrays, nothing is allocated per code.
//
// Decisions:
// - Minimum code sizes 0..11 are decoded; a larger one cannot fit the table: the frame's data is
//   skipped and its pixels keep their fill.
// - A code above the next free code (or equal to it with no previous string) names an entry that does
//   not exist: GIFException("Circular decoder table entry").
// - Roots of code sizes 9..11 (values 256 and up) store their low 8 bits.
// - After the last pixel one more code is read, normally the end code; whatever it is, the rest of the
//   image data is skipped, so it is never taken for blocks.
#include <cstdint>
#include <string>

#include "imaging/GIFByteStream.h"
#include "imaging/GIFCodeReader.h"

class GIFPixelWriter;

class GIFLZWDecoder {
public:
    using WarningSink = GIFCodeReader::WarningSink;

    static constexpr unsigned MaxCodeWidth = 12;
    static constexpr unsigned TableSize = 1u << MaxCodeWidth;
    static constexpr unsigned MaxMinimumCodeSize = MaxCodeWidth - 1;

    // Warnings ("Premature end of data", "Decoder bit buffer under-run") go to `warn`.
    void Decode(GIFByteStream& stream, std::uint8_t* pixels, std::uint32_t width, std::uint32_t height,
                bool interlaced, const WarningSink& warn);

private:
    void Reset();
    // Writes the string of `code` (a root or a defined entry) and returns its first value.
    std::uint8_t Emit(unsigned code, GIFPixelWriter& writer);
    void AddEntry(unsigned prefix, std::uint8_t suffix);

    std::uint16_t prefix_[TableSize] = {};
    std::uint8_t suffix_[TableSize] = {};
    std::uint8_t stack_[TableSize] = {};   // one string, filled from the end
    unsigned minimumCodeSize_ = 0;   // 0..11
    unsigned clearCode_ = 0;   // 1 << minimum code size, 1..2048
    unsigned freeCode_ = 0;    // clearCode_ + 2 .. TableSize
    unsigned codeWidth_ = 0;   // minimum code size + 1 .. 12
};
