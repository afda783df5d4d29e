#include "app/layout/ByteCursor.h"

#include "app/layout/LayoutTree.h"

ByteCursor::ByteCursor(ByteSpan bytes, const char* truncatedMessage)
    : bytes_(bytes), truncatedMessage_(truncatedMessage)
{
}

void ByteCursor::Need(std::size_t count) const
{
    if (count > bytes_.size - position_)
        throw ELayoutError(truncatedMessage_);
}

ByteSpan ByteCursor::ReadSpan(std::size_t count)
{
    Need(count);
    const ByteSpan span{bytes_.data + position_, count};
    position_ += count;
    return span;
}

std::uint8_t ByteCursor::ReadByte()
{
    return ReadSpan(1).data[0];
}

std::uint16_t ByteCursor::ReadUInt16()
{
    const std::uint8_t* p = ReadSpan(2).data;
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::uint32_t ByteCursor::ReadUInt32()
{
    const std::uint8_t* p = ReadSpan(4).data;
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::string ByteCursor::ReadText(std::size_t count)
{
    const ByteSpan text = ReadSpan(count);
    return std::string(reinterpret_cast<const char*>(text.data), text.size);
}

std::string ByteCursor::ReadShortString()
{
    return ReadText(ReadByte());
}

ByteSpan ByteCursor::Rest()
{
    return ReadSpan(bytes_.size - position_);
}
