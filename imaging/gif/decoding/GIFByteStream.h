#pragma once
// A read position over a byte buffer owned by the caller. Every read checks what is left first; the
// position stays within 0..Size().
#include <cstddef>
#include <cstdint>

class GIFByteStream {
public:
    GIFByteStream(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::size_t Size() const { return size_; }
    std::size_t Position() const { return position_; }
    std::size_t Left() const { return size_ - position_; }
    // Moves to `position`, at most to the end.
    void Seek(std::size_t position);

    // One byte; false (and nothing moves) at the end.
    bool ReadByte(std::uint8_t& value);
    bool PeekByte(std::uint8_t& value) const;
    // One byte back; stays at the start.
    void StepBack();
    // Up to `count` bytes; returns how many were there.
    std::size_t Read(std::uint8_t* target, std::size_t count);
    // Skips up to `count` bytes.
    void Skip(std::size_t count);

    // Fixed-size parts: fewer bytes than asked raise GIFException("Premature end of data"), having
    // consumed what was there.
    void ReadExact(std::uint8_t* target, std::size_t count);
    std::uint8_t ReadExactByte();

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

// Little-endian fields inside a buffer already read.
inline std::uint16_t GIFWordAt(const std::uint8_t* bytes)
{
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

inline std::uint32_t GIFLongAt(const std::uint8_t* bytes)
{
    return GIFWordAt(bytes) | (static_cast<std::uint32_t>(GIFWordAt(bytes + 2)) << 16);
}
