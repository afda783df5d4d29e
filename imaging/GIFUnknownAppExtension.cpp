#include "imaging/GIFUnknownAppExtension.h"

#include "imaging/GIFSubBlocks.h"

void TGIFUnknownAppExtension::ReadData(GIFByteStream& stream)
{
    TGIFBlock block;
    while (ReadSubBlock(stream, block.Data))
        Blocks.push_back(block);
}
