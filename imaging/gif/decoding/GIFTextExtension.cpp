#include "imaging/gif/decoding/GIFTextExtension.h"

#include "imaging/gif/decoding/GIFSubBlocks.h"

void TGIFTextExtension::ReadBody(GIFByteStream& stream)
{
    std::uint8_t bytes[13];
    stream.ReadExact(bytes, sizeof bytes);
    BlockSize = bytes[0];
    GridLeft = GIFWordAt(bytes + 1);
    GridTop = GIFWordAt(bytes + 3);
    GridWidth = GIFWordAt(bytes + 5);
    GridHeight = GIFWordAt(bytes + 7);
    CellWidth = bytes[9];
    CellHeight = bytes[10];
    ForegroundIndex = bytes[11];
    BackgroundIndex = bytes[12];
    Text = ReadTextLines(stream);
}
