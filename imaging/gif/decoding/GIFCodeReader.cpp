#include "imaging/gif/decoding/GIFCodeReader.h"

#include <algorithm>

#include "imaging/gif/decoding/GIFMessages.h"
#include "imaging/gif/decoding/GIFSubBlocks.h"

GIFCodeReader::GIFCodeReader(GIFByteStream& stream, const WarningSink& warn) : stream_(stream), warn_(warn)
{
    std::fill(block_, block_ + Padding, std::uint8_t(0));
}

GIFCodeBits GIFCodeReader::Refill(GIFCodeBits in, unsigned width)
{
    for (;;) {
        // The padding reads as zeros, so only the bytes taken land above the bits in hand.
        const auto taken = std::min<std::ptrdiff_t>((63 - in.count) >> 3, in.end - in.next);
        in.bits |= WordAt(in.next) << in.count;
        in.next += taken;
        in.count += static_cast<unsigned>(taken) * 8;
        if (in.count >= width)
            return in;
        if (!FetchSubBlock(in)) {
            if (terminated_ && in.count == 0)
                warn_(GIFMessage::BitBufferUnderRun);
            return in;
        }
    }
}

bool GIFCodeReader::FetchSubBlock(GIFCodeBits& in)
{
    if (terminated_ || exhausted_)
        return false;
    std::uint8_t size = 0;
    if (!stream_.ReadByte(size)) {
        exhausted_ = true;
        return false;
    }
    if (size == 0) {
        terminated_ = true;
        return false;
    }
    if (size > stream_.Left())
        warn_(GIFMessage::PrematureEnd);
    const std::size_t read = stream_.Read(block_, size);
    std::fill(block_ + read, block_ + read + Padding, std::uint8_t(0));
    in.next = block_;
    in.end = block_ + read;
    return true;
}

void GIFCodeReader::SkipRest()
{
    if (!terminated_ && !exhausted_)
        SkipSubBlocks(stream_);
    terminated_ = true;
}
