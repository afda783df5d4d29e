#pragma once
// A system palette as the drawing layer realises it: entries laid out like the Win32 PALETTEENTRY.
#include <cstdint>
#include <vector>

struct PaletteEntry {
    std::uint8_t peRed = 0;
    std::uint8_t peGreen = 0;
    std::uint8_t peBlue = 0;
    std::uint8_t peFlags = 0;
};

// The entry keeps its own slot instead of collapsing onto an equal colour (PC_NOCOLLAPSE).
inline constexpr std::uint8_t PaletteNoCollapse = 0x04;

using ColorPalette = std::vector<PaletteEntry>;

// Six levels per channel (0, 51, ..., 255); entry r * 36 + g * 6 + b for levels r, g, b in 0..5.
inline constexpr unsigned WebPaletteLevels = 6;
inline constexpr unsigned WebPaletteStep = 51;
const ColorPalette& WebPalette216();
