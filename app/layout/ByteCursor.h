#pragma once
// Reads little-endian fields from a byte range, checking what is left before every read. A read past the
// end raises ELayoutError with the message the cursor was made with.
#include <cstddef>
#include <cstdint>
#include <string>

struct ByteSpan {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
};

class ByteCursor {
public:
    ByteCursor(ByteSpan bytes, const char* truncatedMessage);

    std::uint8_t ReadByte();
    std::uint16_t ReadUInt16();
    std::uint32_t ReadUInt32();
    // The next count bytes, in place.
    ByteSpan ReadSpan(std::size_t count);
    // The next count bytes, as a byte string.
    std::string ReadText(std::size_t count);
    // A byte count, then that many bytes.
    std::string ReadShortString();
    // Everything not read yet.
    ByteSpan Rest();
    bool AtEnd() const { return position_ == bytes_.size; }

private:
    void Need(std::size_t count) const;

    ByteSpan bytes_;
    std::size_t position_ = 0;
    const char* truncatedMessage_;
};
