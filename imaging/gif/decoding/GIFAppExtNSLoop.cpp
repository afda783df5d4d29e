#include "imaging/gif/decoding/GIFAppExtNSLoop.h"

#include <vector>

#include "imaging/gif/decoding/GIFException.h"
#include "imaging/gif/decoding/GIFMessages.h"
#include "imaging/gif/decoding/GIFSubBlocks.h"

namespace {
constexpr std::uint8_t LoopCountKind = 1;
constexpr std::uint8_t BufferSizeKind = 2;

void Require(const std::vector<std::uint8_t>& block, std::size_t size)
{
    if (block.size() < size)
        throw GIFException(GIFMessage::InvalidData);
}
}

void TGIFAppExtNSLoop::ReadData(GIFByteStream& stream)
{
    std::vector<std::uint8_t> block;
    while (ReadSubBlock(stream, block)) {
        const std::uint8_t kind = block[0] & 7;
        if (kind == LoopCountKind) {
            Require(block, 3);
            Loops = GIFWordAt(&block[1]);
        } else if (kind == BufferSizeKind) {
            Require(block, 5);
            BufferSize = GIFLongAt(&block[1]);
        }
    }
}
