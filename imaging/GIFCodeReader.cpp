#include "imaging/GIFCodeReader.h"

#include "imaging/GIFMessages.h"
#include "imaging/GIFSubBlocks.h"

bool GIFCodeReader::Read(unsigned width, unsigned& code)
{
    while (bitCount_ < width) {
        if (blockPos_ < blockSize_) {
            bits_ |= static_cast<std::uint32_t>(block_[blockPos_++]) << bitCount_;
            bitCount_ += 8;
        } else if (!FetchSubBlock()) {
            if (terminated_ && bitCount_ == 0)
                warn_(GIFMessage::BitBufferUnderRun);
            return false;
        }
    }
    code = bits_ & ((1u << width) - 1);
    bits_ >>= width;
    bitCount_ -= width;
    return true;
}

bool GIFCodeReader::FetchSubBlock()
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
    blockSize_ = static_cast<unsigned>(stream_.Read(block_, size));
    blockPos_ = 0;
    return true;
}

void GIFCodeReader::SkipRest()
{
    blockPos_ = blockSize_;
    if (!terminated_ && !exhausted_)
        SkipSubBlocks(stream_);
    terminated_ = true;
}
