#include "imaging/gif/decoding/GIFUnknownAppExtension.h"

#include "imaging/gif/decoding/GIFSubBlocks.h"

void TGIFUnknownAppExtension::ReadData(GIFByteStream& stream)
{
    TGIFBlock block;
    while (ReadSubBlock(stream, block.Data))
        Blocks.push_back(block);
}
