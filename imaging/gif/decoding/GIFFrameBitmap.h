#pragma once
// What rendering a frame makes: an 8-bit device-independent bitmap and a one-bit transparency mask,
// laid out so that the drawing layer can hand them to the system as they are.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "imaging/surface/ColorPalette.h"

// A colour table slot laid out like the Win32 RGBQUAD.
struct GIFDibColor {
    std::uint8_t rgbBlue = 0;
    std::uint8_t rgbGreen = 0;
    std::uint8_t rgbRed = 0;
    std::uint8_t rgbReserved = 0;
};

using GIFDibColorTable = std::array<GIFDibColor, 256>;

// 8 bits per pixel, rows top to bottom (a top-down DIB), each padded to a multiple of 4 bytes.
struct GIFIndexedBitmap {
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
    std::uint32_t Stride = 0; // (Width + 3) / 4 * 4
    GIFDibColorTable ColorTable{};
    std::vector<std::uint8_t> Bits; // Stride * Height

    std::uint8_t Index(std::uint32_t x, std::uint32_t y) const { return Bits[std::size_t(y) * Stride + x]; }
};

// 1 bit per pixel, most significant bit first, rows top to bottom, each padded to 16 bits.
struct GIFBitMask {
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
    std::uint32_t Stride = 0; // (Width + 15) / 16 * 2
    std::vector<std::uint8_t> Bits; // Stride * Height

    bool IsSet(std::uint32_t x, std::uint32_t y) const
    {
        return (Bits[std::size_t(y) * Stride + x / 8] & (0x80u >> (x % 8))) != 0;
    }
};

// The palette's colours in order, black in the slots after it (and none beyond 256).
GIFDibColorTable DibColorTableOf(const ColorPalette& palette);

// An empty bitmap of the size with that colour table; memory that cannot be had raises
// GIFException("Failed to allocate memory for GIF DIB").
GIFIndexedBitmap AllocateIndexedBitmap(std::uint32_t width, std::uint32_t height, const GIFDibColorTable& colors);

// Told before rows 32, 64, ... of the frame are rendered.
using GIFRowProgress = std::function<void(std::uint32_t row)>;
inline constexpr std::uint32_t GIFProgressRowStep = 32;
