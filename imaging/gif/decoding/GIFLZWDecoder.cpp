#include "imaging/gif/decoding/GIFLZWDecoder.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "imaging/gif/decoding/GIFException.h"
#include "imaging/gif/decoding/GIFMessages.h"
#include "imaging/gif/decoding/GIFPixelWriter.h"

namespace {
constexpr std::size_t Chunk = 16;

// The string of root r is RootValues[r & 0xFF]; a chunk read from there stays inside.
constexpr std::array<std::uint8_t, 256 + Chunk - 1> RootValues = [] {
    std::array<std::uint8_t, 256 + Chunk - 1> values{};
    for (unsigned i = 0; i < 256; ++i)
        values[i] = static_cast<std::uint8_t>(i);
    return values;
}();

// Copies one chunk; the two may overlap beyond the bytes that matter.
inline void CopyChunk(std::uint8_t* to, const std::uint8_t* from)
{
    std::uint8_t chunk[Chunk];
    std::memcpy(chunk, from, Chunk);
    std::memcpy(to, chunk, Chunk);
}

// Copies the string of `length` bytes at `from`, which ends at or before `to` (or lies in RootValues),
// to `to`, where `room` bytes are left; returns how many bytes it wrote (all of them unless the room ran
// out). Bytes after those may have been overwritten.
inline std::size_t CopyString(std::uint8_t* to, const std::uint8_t* from, std::size_t length, std::size_t room)
{
    if (length <= Chunk && room >= Chunk) {
        CopyChunk(to, from);
        return length;
    }
    if (length + Chunk <= room) {
        for (std::size_t done = 0; done < length; done += Chunk)
            CopyChunk(to + done, from + done);
        return length;
    }
    const std::size_t taken = std::min(length, room);
    std::memcpy(to, from, taken);
    return taken;
}
}

GIFLZWDecoder::GIFLZWDecoder() = default;

void GIFLZWDecoder::Decode(GIFByteStream& stream, std::uint8_t* pixels, std::uint32_t width,
                           std::uint32_t height, bool interlaced, std::uint8_t fill, const WarningSink& warn)
{
    const std::size_t count = std::size_t(width) * height;
    if (interlaced)
        streamOrder_.resize(std::max(streamOrder_.size(), count));
    std::uint8_t* const target = interlaced ? streamOrder_.data() : pixels;
    std::size_t written = 0;
    std::uint8_t minimumCodeSize = 0;
    if (stream.ReadByte(minimumCodeSize)) {
        GIFCodeReader reader(stream, warn);
        if (minimumCodeSize <= MaxMinimumCodeSize) {
            minimumCodeSize_ = minimumCodeSize;
            SetRoots(1u << minimumCodeSize);
            written = DecodeRun(reader, target, count);
        }
        reader.SkipRest();
    }
    if (interlaced) {
        GIFPixelWriter writer(pixels, width, height);
        writer.Write(target, written);
        writer.Fill(fill);
    } else {
        std::fill(pixels + written, pixels + count, fill);
    }
}

void GIFLZWDecoder::SetRoots(unsigned clearCode)
{
    clearCode_ = clearCode;
    if (rootsFor_ == clearCode)
        return;
    for (unsigned root = 0; root < clearCode; ++root) {
        source_[root] = &RootValues[root & 0xFF];
        length_[root] = 1;
    }
    length_[clearCode] = 0;
    length_[clearCode + 1] = 0;
    rootsFor_ = clearCode;
}

std::size_t GIFLZWDecoder::DecodeRun(GIFCodeReader& reader, std::uint8_t* const start, std::size_t count)
{
    std::uint8_t* out = start;
    std::uint8_t* const end = start + count;
    const unsigned clearCode = clearCode_;
    const unsigned endCode = clearCode + 1;
    GIFCodeBits in = reader.Start();
    unsigned code = 0;
    unsigned width = 0;
    // After the last pixel one more code is read (see the header), then the count of what was written.
    const auto finish = [&] {
        if (out == end)
            reader.Read(in, width, code);
        return static_cast<std::size_t>(out - start);
    };
    for (;;) {
        // After a clear code (and at the start): a root, after any number of clear codes.
        width = minimumCodeSize_ + 1;
        unsigned widthLimit = 1u << width;
        unsigned freeCode = clearCode + 2;
        do {
            if (out == end || !reader.Read(in, width, code))
                return finish();
        } while (code == clearCode);
        if (code == endCode)
            return finish();
        if (code > clearCode)
            throw GIFException(GIFMessage::CircularTableEntry);
        const std::uint8_t* previous = out; // the previous string, written at `previous`
        std::size_t previousLength = 1;
        *out++ = RootValues[code & 0xFF];

        for (;;) {
            if (out == end || !reader.Read(in, width, code))
                return finish();
            const std::size_t room = static_cast<std::size_t>(end - out);
            std::size_t length;
            std::size_t copied;
            if (code < freeCode) {
                // Lengths 1..Chunk fit one chunk; the clear and end codes have length 0.
                length = length_[code];
                if (length - 1 < Chunk && room >= Chunk) {
                    CopyChunk(out, source_[code]);
                    copied = length;
                } else if (length != 0) {
                    copied = CopyString(out, source_[code], length, room);
                } else if (code == clearCode) {
                    break;
                } else {
                    return finish();
                }
            } else if (code == freeCode) {
                // The string being defined: the previous string plus its own first value.
                length = previousLength + 1;
                copied = CopyString(out, previous, previousLength, room);
                if (copied < room)
                    out[copied++] = *previous;
            } else {
                throw GIFException(GIFMessage::CircularTableEntry);
            }
            // Once the table is full, the entry lands in the spare slot and the next free code stays.
            source_[freeCode] = previous;
            length_[freeCode] = static_cast<std::uint16_t>(previousLength + 1);
            if (++freeCode >= widthLimit) {
                if (width < MaxCodeWidth) {
                    ++width;
                    widthLimit <<= 1;
                } else {
                    freeCode = TableSize;
                }
            }
            previous = out;
            previousLength = length;
            out += copied;
        }
    }
}
