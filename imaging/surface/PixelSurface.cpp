#include "imaging/surface/PixelSurface.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace {

// Narrows one axis of a copy so that it lies inside both the source (0..sourceSize) and the target
// (0..targetSize); an axis with nothing left gets length 0. Worked out in 64 bits, so any int is safe.
void ClipAxis(int& source, int& target, int& length, int sourceSize, int targetSize)
{
    const std::int64_t before = std::max<std::int64_t>({0, -std::int64_t(source), -std::int64_t(target)});
    const std::int64_t from = source + before, to = target + before;
    const std::int64_t kept = std::min({length - before, sourceSize - from, targetSize - to});
    if (kept <= 0) {
        length = 0;
        return;
    }
    source = int(from);
    target = int(to);
    length = int(kept);
}

} // namespace

PixelSurface::PixelSurface(int width, int height) : width_(width), height_(height)
{
    if (width < 0 || height < 0)
        throw std::length_error("negative surface size");
    // Sized in 64 bits: in a 32-bit program a product above 4 GiB would wrap round to a small buffer.
    const std::uint64_t stride = std::uint64_t(width) * BytesPerPixel;
    const std::uint64_t largest = std::uint64_t(std::numeric_limits<std::ptrdiff_t>::max());
    if (stride > largest || stride * std::uint64_t(height) > largest)
        throw std::length_error("surface too large for the address space");
    bits_.assign(Stride() * std::size_t(height), 0);
}

std::uint32_t PixelSurface::Pixel(int x, int y) const
{
    std::uint32_t value;
    std::memcpy(&value, Row(y) + std::size_t(x) * BytesPerPixel, sizeof value);
    return value;
}

void PixelSurface::SetPixel(int x, int y, std::uint32_t value)
{
    std::memcpy(Row(y) + std::size_t(x) * BytesPerPixel, &value, sizeof value);
}

void PixelSurface::Fill(std::uint32_t value)
{
    Fill({0, 0, width_, height_}, value);
}

void PixelSurface::Fill(PixelRect rect, std::uint32_t value)
{
    const int left = std::max(rect.Left, 0), top = std::max(rect.Top, 0);
    const int right = std::min(std::int64_t(rect.Left) + rect.Width, std::int64_t(width_));
    const int bottom = std::min(std::int64_t(rect.Top) + rect.Height, std::int64_t(height_));
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            SetPixel(x, y, value);
}

void PixelSurface::Blit(const PixelSurface& source, PixelRect from, int x, int y)
{
    ClipAxis(from.Left, x, from.Width, source.width_, width_);
    ClipAxis(from.Top, y, from.Height, source.height_, height_);
    const std::size_t bytes = std::size_t(from.Width) * BytesPerPixel;
    for (int row = 0; row < from.Height; ++row)
        std::memcpy(Row(y + row) + std::size_t(x) * BytesPerPixel,
                    source.Row(from.Top + row) + std::size_t(from.Left) * BytesPerPixel, bytes);
}
