#pragma once
// Variable-width codes (1 to 12 bits, least significant bit first) from the data sub-blocks of one
// frame's image data. Sub-blocks are read one at a time, only when the bits in hand run out; a code
// may span two sub-blocks.
#include <cstdint>
#include <functional>
#include <string>

#include "imaging/GIFByteStream.h"

class GIFCodeReader {
public:
    using WarningSink = std::function<void(const std::string& message)>;

    // Reads from the stream's current position (the first sub-block's length byte).
    GIFCodeReader(GIFByteStream& stream, const WarningSink& warn) : stream_(stream), warn_(warn) {}

    // The next code of `width` bits (1..12). False when the data has ended: the length byte is missing,
    // or the zero-length block has been read (warning "Decoder bit buffer under-run" when not a single
    // unread bit was left then). A sub-block longer than the rest of the stream gives the warning
    // "Premature end of data" and only what is left is used.
    bool Read(unsigned width, unsigned& code);
    // Skips what is left of the image data, up to and including the zero-length block, unless that has
    // been read already; stops quietly at the end of the stream.
    void SkipRest();

private:
    bool FetchSubBlock();

    GIFByteStream& stream_;
    const WarningSink& warn_;
    std::uint8_t block_[255] = {};
    unsigned blockSize_ = 0;   // 0..255
    unsigned blockPos_ = 0;    // 0..blockSize_
    std::uint32_t bits_ = 0;   // unread bits, the oldest lowest
    unsigned bitCount_ = 0;    // 0..19
    bool terminated_ = false;  // the zero-length block has been read
    bool exhausted_ = false;   // the stream ended where a length byte should be
};
