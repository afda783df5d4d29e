#pragma once
// Bytes that open the blocks of a GIF stream.
#include <cstdint>

inline constexpr std::uint8_t GIFExtensionIntroducer = 0x21;
inline constexpr std::uint8_t GIFImageSeparator = 0x2C;
inline constexpr std::uint8_t GIFTrailer = 0x3B;

// Entries of a colour table whose size field (bits 0-2 of a packed byte) is `packed`: 2 to 256.
inline constexpr unsigned GIFColorTableSize(std::uint8_t packed)
{
    return 2u << (packed & 7u);
}
