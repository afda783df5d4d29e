#include "imaging/surface/SurfaceStretch.h"

#include <algorithm>
#include <cstdint>

namespace {

// The source coordinate that target offset `at` (0 <= at < toSize) maps to.
int MapAxis(int at, int toSize, int fromSize)
{
    return int(std::int64_t(at) * fromSize / toSize);
}

} // namespace

void StretchCopy(PixelSurface& target, const PictureRect& to, const PixelSurface& source, const PictureRect& from)
{
    const int toWidth = RectWidth(to), toHeight = RectHeight(to);
    const int fromWidth = RectWidth(from), fromHeight = RectHeight(from);
    if (toWidth <= 0 || toHeight <= 0 || fromWidth <= 0 || fromHeight <= 0)
        return;
    if (toWidth == fromWidth && toHeight == fromHeight) {
        target.Blit(source, {from.left, from.top, fromWidth, fromHeight}, to.left, to.top);
        return;
    }
    const int top = std::max(to.top, 0), bottom = std::min(to.bottom, target.Height());
    const int left = std::max(to.left, 0), right = std::min(to.right, target.Width());
    for (int y = top; y < bottom; ++y) {
        const int sy = from.top + MapAxis(y - to.top, toHeight, fromHeight);
        if (sy < 0 || sy >= source.Height())
            continue;
        for (int x = left; x < right; ++x) {
            const int sx = from.left + MapAxis(x - to.left, toWidth, fromWidth);
            if (sx >= 0 && sx < source.Width())
                target.SetPixel(x, y, source.Pixel(sx, sy));
        }
    }
}

void ForEachTile(const PictureRect& area, int offsetX, int offsetY, int stepX, int stepY,
                 const std::function<void(int x, int y)>& place)
{
    for (std::int64_t y = std::int64_t(area.top) + offsetY; y < area.bottom; y += stepY) {
        for (std::int64_t x = std::int64_t(area.left) + offsetX; x < area.right; x += stepX) {
            place(int(x), int(y));
            if (stepX <= 0)
                break;
        }
        if (stepY <= 0)
            break;
    }
}
