#include "imaging/gif/decoding/GIFSubBlocks.h"

#include <algorithm>

bool ReadSubBlock(GIFByteStream& stream, std::vector<std::uint8_t>& data)
{
    std::uint8_t size = 0;
    if (!stream.ReadByte(size) || size == 0)
        return false;
    data.resize(size);
    stream.ReadExact(data.data(), size);
    return true;
}

std::vector<std::string> ReadTextLines(GIFByteStream& stream)
{
    std::vector<std::string> lines;
    std::vector<std::uint8_t> data;
    while (ReadSubBlock(stream, data))
        lines.emplace_back(data.begin(), std::find(data.begin(), data.end(), 0));
    return lines;
}

void SkipSubBlocks(GIFByteStream& stream)
{
    std::uint8_t size = 0;
    while (stream.ReadByte(size) && size != 0)
        stream.Skip(size);
}
