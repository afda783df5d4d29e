#include "imaging/gif/decoding/GIFDitherer.h"

#include <algorithm>
#include <vector>

namespace {
// Per channel errors of one row, with a slot on either side so that neighbours need no bounds test.
struct ErrorRow {
    explicit ErrorRow(std::uint32_t width) : values(3 * (std::size_t(width) + 2), 0) {}
    // x in -1..width
    int* At(std::int64_t x) { return &values[static_cast<std::size_t>(3 * (x + 1))]; }
    std::vector<int> values;
};

// Spreads one channel's error (in sixteenths) onto the neighbours not yet visited.
void Diffuse(ErrorRow& current, ErrorRow& next, std::int64_t x, int channel, int error)
{
    current.At(x + 1)[channel] += error * 7;
    next.At(x - 1)[channel] += error * 3;
    next.At(x)[channel] += error * 5;
    next.At(x + 1)[channel] += error * 1;
}

// `value` is within 0..255.
int NearestLevel(int value)
{
    const int step = static_cast<int>(WebPaletteStep);
    return (value + step / 2) / step;
}
}

GIFIndexedBitmap RenderDitheredFrame(const std::uint8_t* pixels, std::uint32_t width, std::uint32_t height,
                                     const ColorPalette& sourceColors, const GIFRowProgress& progress)
{
    const GIFDibColorTable source = DibColorTableOf(sourceColors);
    GIFIndexedBitmap bitmap = AllocateIndexedBitmap(width, height, DibColorTableOf(WebPalette216()));
    ErrorRow current(width), next(width);
    for (std::uint32_t y = 0; y < height; ++y) {
        if (y > 0 && y % GIFProgressRowStep == 0)
            progress(y);
        for (std::uint32_t x = 0; x < width; ++x) {
            const GIFDibColor& c = source[pixels[std::size_t(y) * width + x]];
            const int wanted[3] = {c.rgbRed, c.rgbGreen, c.rgbBlue};
            int index = 0;
            for (int channel = 0; channel < 3; ++channel) {
                const int value = std::clamp(wanted[channel] + current.At(x)[channel] / 16, 0, 255);
                const int level = NearestLevel(value);
                index = index * static_cast<int>(WebPaletteLevels) + level;
                Diffuse(current, next, x, channel, value - level * static_cast<int>(WebPaletteStep));
            }
            bitmap.Bits[std::size_t(y) * bitmap.Stride + x] = static_cast<std::uint8_t>(index);
        }
        std::swap(current, next);
        std::fill(next.values.begin(), next.values.end(), 0);
    }
    return bitmap;
}
