#include "imaging/surface/ColorPalette.h"

namespace {
ColorPalette MakeWebPalette()
{
    ColorPalette palette;
    for (unsigned r = 0; r < WebPaletteLevels; ++r)
        for (unsigned g = 0; g < WebPaletteLevels; ++g)
            for (unsigned b = 0; b < WebPaletteLevels; ++b)
                palette.push_back({static_cast<std::uint8_t>(r * WebPaletteStep),
                                   static_cast<std::uint8_t>(g * WebPaletteStep),
                                   static_cast<std::uint8_t>(b * WebPaletteStep), 0});
    return palette;
}
}

const ColorPalette& WebPalette216()
{
    static const ColorPalette palette = MakeWebPalette();
    return palette;
}
