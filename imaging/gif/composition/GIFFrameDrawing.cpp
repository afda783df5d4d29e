#include "imaging/gif/composition/GIFFrameDrawing.h"

#include <algorithm>
#include <cstdint>

#include "common/MulDivRounded.h"
#include "imaging/gif/decoding/GIFImage.h"
#include "imaging/surface/PictureRectMath.h"
#include "imaging/surface/SurfaceStretch.h"

namespace {

std::uint32_t PixelOfDibColor(const GIFDibColor& color)
{
    return 0xFF000000u | std::uint32_t(color.rgbRed) << 16 | std::uint32_t(color.rgbGreen) << 8 | color.rgbBlue;
}

} // namespace

std::uint32_t PixelOfColor(std::uint32_t color)
{
    return 0xFF000000u | (color & 0xFF) << 16 | (color & 0xFF00) | (color >> 16 & 0xFF);
}

PictureRect ScaleFrameRect(const TGIFSubImage& frame, const PictureRect& target)
{
    const TGIFImageDescriptor& d = frame.Descriptor;
    const int width = RectWidth(target), height = RectHeight(target);
    const int screenWidth = frame.Image().Width(), screenHeight = frame.Image().Height();
    return {target.left + MulDivRounded(d.Left, width, screenWidth),
            target.top + MulDivRounded(d.Top, height, screenHeight),
            target.left + MulDivRounded(d.Left + d.Width, width, screenWidth),
            target.top + MulDivRounded(d.Top + d.Height, height, screenHeight)};
}

void DrawFrame(TGIFSubImage& frame, PixelSurface& canvas, const PictureRect& rect, bool transparent, bool tile)
{
    const GIFIndexedBitmap* bitmap = frame.FrameBitmap();
    if (bitmap == nullptr)
        return;
    const GIFBitMask* mask = transparent && frame.Transparent() ? frame.TransparencyMask() : nullptr;
    if (!tile) {
        MaskedStretchBlit(canvas, ScaleFrameRect(frame, rect), *bitmap, mask);
        return;
    }
    const TGIFImageDescriptor& d = frame.Descriptor;
    ForEachTile(rect, d.Left, d.Top, frame.Image().Width(), frame.Image().Height(), [&](int x, int y) {
        MaskedStretchBlit(canvas, {x, y, x + d.Width, y + d.Height}, *bitmap, mask);
    });
}

void MaskedStretchBlit(PixelSurface& canvas, const PictureRect& rect, const GIFIndexedBitmap& bitmap,
                       const GIFBitMask* mask)
{
    const int width = RectWidth(rect), height = RectHeight(rect);
    if (width <= 0 || height <= 0 || bitmap.Width == 0 || bitmap.Height == 0)
        return;
    const int top = std::max(rect.top, 0), bottom = std::min(rect.bottom, canvas.Height());
    const int left = std::max(rect.left, 0), right = std::min(rect.right, canvas.Width());
    for (int y = top; y < bottom; ++y) {
        const auto sy = std::uint32_t(std::int64_t(y - rect.top) * bitmap.Height / height);
        for (int x = left; x < right; ++x) {
            const auto sx = std::uint32_t(std::int64_t(x - rect.left) * bitmap.Width / width);
            if (mask == nullptr || !mask->IsSet(sx, sy))
                canvas.SetPixel(x, y, PixelOfDibColor(bitmap.ColorTable[bitmap.Index(sx, sy)]));
        }
    }
}
