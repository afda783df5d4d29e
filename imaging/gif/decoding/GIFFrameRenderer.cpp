#include "imaging/gif/decoding/GIFFrameRenderer.h"

#include <cstring>

GIFIndexedBitmap RenderIndexedFrame(const std::uint8_t* pixels, std::uint32_t width, std::uint32_t height,
                                    const ColorPalette& palette, const GIFRowProgress& progress)
{
    GIFIndexedBitmap bitmap = AllocateIndexedBitmap(width, height, DibColorTableOf(palette));
    for (std::uint32_t y = 0; y < height; ++y) {
        if (y > 0 && y % GIFProgressRowStep == 0)
            progress(y);
        std::memcpy(&bitmap.Bits[std::size_t(y) * bitmap.Stride], pixels + std::size_t(y) * width, width);
    }
    return bitmap;
}

std::optional<GIFBitMask> BuildTransparencyMask(const std::uint8_t* pixels, std::uint32_t width,
                                                std::uint32_t height, std::uint8_t transparentIndex)
{
    GIFBitMask mask;
    mask.Width = width;
    mask.Height = height;
    mask.Stride = (width + 15) / 16 * 2;
    mask.Bits.assign(std::size_t(mask.Stride) * height, 0);
    bool anySet = false;
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint8_t* row = pixels + std::size_t(y) * width;
        std::uint8_t* bits = &mask.Bits[std::size_t(y) * mask.Stride];
        for (std::uint32_t x = 0; x < width; ++x)
            if (row[x] == transparentIndex) {
                bits[x / 8] |= static_cast<std::uint8_t>(0x80u >> (x % 8));
                anySet = true;
            }
    }
    if (!anySet)
        return std::nullopt;
    return mask;
}
