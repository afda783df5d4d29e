#include "imaging/gif/decoding/GIFFrameBitmap.h"

#include <algorithm>
#include <new>

#include "imaging/gif/decoding/GIFException.h"
#include "imaging/gif/decoding/GIFMessages.h"

GIFDibColorTable DibColorTableOf(const ColorPalette& palette)
{
    GIFDibColorTable table{};
    const std::size_t count = std::min(palette.size(), table.size());
    for (std::size_t i = 0; i < count; ++i)
        table[i] = {palette[i].peBlue, palette[i].peGreen, palette[i].peRed, 0};
    return table;
}

GIFIndexedBitmap AllocateIndexedBitmap(std::uint32_t width, std::uint32_t height, const GIFDibColorTable& colors)
{
    GIFIndexedBitmap bitmap;
    bitmap.Width = width;
    bitmap.Height = height;
    bitmap.Stride = (width + 3) / 4 * 4;
    bitmap.ColorTable = colors;
    try {
        bitmap.Bits.resize(std::size_t(bitmap.Stride) * height);
    } catch (const std::bad_alloc&) {
        throw GIFException(GIFMessage::DibAllocationFailed);
    }
    return bitmap;
}
