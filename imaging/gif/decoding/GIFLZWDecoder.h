#pragma once
// The LZW decoder of GIF image data.
//
// Decode() reads, from the stream's current position, the minimum code size byte and the data
// sub-blocks of one frame, and writes colour indices into `pixels` (width x height bytes): pixels the
// data never reaches get `fill`. It leaves the stream after the image data's zero-length block, or at
// the end of the stream.
//
// How: the string of every code is a run of bytes already written (a root's is its value), so the table
// keeps, per code, where that run starts and how long it is, and each string is one forward copy, made
// in 16-byte chunks where the frame has room for them (the bytes a chunk writes beyond the string are
// overwritten by the strings that follow, or by the fill). An interlaced frame is decoded in stream order
// into a buffer of the decoder's and then placed row by row. One decoder serves every frame of a
// picture: its table is neither allocated nor cleared per frame, since a code is only read once defined.
//
// Ranges: the code table holds 4096 entries (codes of at most 12 bits) and a string is at most 4096
// bytes long.
//
// Decisions:
// - Minimum code sizes 0..11 are decoded; a larger one cannot fit the table: the frame's data is
//   skipped and its pixels get the fill.
// - A code above the next free code (or equal to it with no previous string) names an entry that does
//   not exist: GIFException("Circular decoder table entry").
// - Roots of code sizes 9..11 (values 256 and up) stand for their low 8 bits.
// - After the last pixel one more code is read, normally the end code; whatever it is, the rest of the
//   image data is skipped, so it is never taken for blocks.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/gif/decoding/GIFByteStream.h"
#include "imaging/gif/decoding/GIFCodeReader.h"

class GIFLZWDecoder {
public:
    using WarningSink = GIFCodeReader::WarningSink;

    static constexpr unsigned MaxCodeWidth = 12;
    static constexpr unsigned TableSize = 1u << MaxCodeWidth;
    static constexpr unsigned MaxMinimumCodeSize = MaxCodeWidth - 1;

    // Leaves the table uninitialised (a defaulted constructor would have make_unique zero it).
    GIFLZWDecoder();

    // Warnings ("Premature end of data", "Decoder bit buffer under-run") go to `warn`.
    void Decode(GIFByteStream& stream, std::uint8_t* pixels, std::uint32_t width, std::uint32_t height,
                bool interlaced, std::uint8_t fill, const WarningSink& warn);

private:
    // Decodes up to `count` indices into `out` in stream order; returns how many were written.
    std::size_t DecodeRun(GIFCodeReader& reader, std::uint8_t* out, std::size_t count);
    void SetRoots(unsigned clearCode);

    // Per code: where its string can be read, and its length (1..TableSize; 0 for the clear and end
    // codes). The slot after the last takes the entries made once the table is full.
    const std::uint8_t* source_[TableSize + 1];
    std::uint16_t length_[TableSize + 1];
    unsigned minimumCodeSize_ = 0;          // 0..11
    unsigned clearCode_ = 0;                // 1 << minimum code size, 1..2048
    unsigned rootsFor_ = 0;                 // the clear code whose roots the table holds, 0 for none yet
    std::vector<std::uint8_t> streamOrder_; // an interlaced frame's indices before they are placed
};
