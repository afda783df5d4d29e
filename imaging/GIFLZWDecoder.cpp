#include "imaging/GIFLZWDecoder.h"

#include "imaging/GIFException.h"
#include "imaging/GIFMessages.h"
#include "imaging/GIFPixelWriter.h"

namespace {
constexpr unsigned NoCode = GIFLZWDecoder::TableSize;
}

void GIFLZWDecoder::Decode(GIFByteStream& stream, std::uint8_t* pixels, std::uint32_t width,
                           std::uint32_t height, bool interlaced, const WarningSink& warn)
{
    std::uint8_t minimumCodeSize = 0;
    if (!stream.ReadByte(minimumCodeSize))
        return;
    GIFCodeReader reader(stream, warn);
    if (minimumCodeSize > MaxMinimumCodeSize) {
        reader.SkipRest();
        return;
    }
    GIFPixelWriter writer(pixels, width, height, interlaced);
    minimumCodeSize_ = minimumCodeSize;
    clearCode_ = 1u << minimumCodeSize;
    const unsigned endCode = clearCode_ + 1;
    for (unsigned root = 0; root < clearCode_; ++root)
        suffix_[root] = static_cast<std::uint8_t>(root);
    Reset();

    unsigned previous = NoCode;
    std::uint8_t previousFirst = 0;
    unsigned code = 0;
    while (!writer.Full()) {
        if (!reader.Read(codeWidth_, code))
            return;
        if (code == clearCode_) {
            Reset();
            previous = NoCode;
            continue;
        }
        if (code == endCode)
            break;
        if (code > freeCode_ || (previous == NoCode && code > clearCode_))
            throw GIFException(GIFMessage::CircularTableEntry);
        if (previous == NoCode) {
            previousFirst = Emit(code, writer);
        } else if (code == freeCode_) {
            // The string being defined: the previous string plus its own first value.
            AddEntry(previous, previousFirst);
            Emit(code, writer);
        } else {
            previousFirst = Emit(code, writer);
            AddEntry(previous, previousFirst);
        }
        previous = code;
    }
    if (writer.Full())
        reader.Read(codeWidth_, code);
    reader.SkipRest();
}

void GIFLZWDecoder::Reset()
{
    freeCode_ = clearCode_ + 2;
    codeWidth_ = minimumCodeSize_ + 1;
}

std::uint8_t GIFLZWDecoder::Emit(unsigned code, GIFPixelWriter& writer)
{
    // Every entry's prefix is a smaller code, so the walk reaches a root within TableSize steps.
    std::uint8_t* const end = stack_ + TableSize;
    std::uint8_t* start = end;
    while (code > clearCode_) {
        *--start = suffix_[code];
        code = prefix_[code];
    }
    *--start = suffix_[code];
    writer.Write(start, static_cast<std::size_t>(end - start));
    return *start;
}

void GIFLZWDecoder::AddEntry(unsigned prefix, std::uint8_t suffix)
{
    if (freeCode_ >= TableSize)
        return;
    prefix_[freeCode_] = static_cast<std::uint16_t>(prefix);
    suffix_[freeCode_] = suffix;
    ++freeCode_;
    if (freeCode_ >= (1u << codeWidth_) && codeWidth_ < MaxCodeWidth)
        ++codeWidth_;
}
