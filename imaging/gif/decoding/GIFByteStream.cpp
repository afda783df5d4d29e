#include "imaging/gif/decoding/GIFByteStream.h"

#include <algorithm>
#include <cstring>

#include "imaging/gif/decoding/GIFException.h"
#include "imaging/gif/decoding/GIFMessages.h"

void GIFByteStream::Seek(std::size_t position)
{
    position_ = std::min(position, size_);
}

bool GIFByteStream::ReadByte(std::uint8_t& value)
{
    if (!PeekByte(value))
        return false;
    ++position_;
    return true;
}

bool GIFByteStream::PeekByte(std::uint8_t& value) const
{
    if (position_ >= size_)
        return false;
    value = data_[position_];
    return true;
}

void GIFByteStream::StepBack()
{
    if (position_ > 0)
        --position_;
}

std::size_t GIFByteStream::Read(std::uint8_t* target, std::size_t count)
{
    const std::size_t taken = std::min(count, Left());
    if (taken > 0)
        std::memcpy(target, data_ + position_, taken);
    position_ += taken;
    return taken;
}

void GIFByteStream::Skip(std::size_t count)
{
    position_ += std::min(count, Left());
}

void GIFByteStream::ReadExact(std::uint8_t* target, std::size_t count)
{
    if (Read(target, count) < count)
        throw GIFException(GIFMessage::PrematureEnd);
}

std::uint8_t GIFByteStream::ReadExactByte()
{
    std::uint8_t value = 0;
    ReadExact(&value, 1);
    return value;
}
