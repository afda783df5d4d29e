#include <cstdint>
#include <limits>
#include <stdexcept>

#include <gtest/gtest.h>

#include "imaging/surface/PixelSurface.h"

namespace {

constexpr std::uint32_t Sentinel = 0xDEADBEEF;

// Every pixel different: 0xFF00YYXX.
PixelSurface Numbered(int width, int height)
{
    PixelSurface surface(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            surface.SetPixel(x, y, 0xFF000000u | std::uint32_t(y) << 8 | std::uint32_t(x));
    return surface;
}

} // namespace

TEST(PixelSurfaceTest, PixelsAreBlueGreenRedAlphaBytesInTopDownRows)
{
    PixelSurface surface(3, 2);
    EXPECT_EQ(surface.Stride(), 12u);
    EXPECT_EQ(surface.Pixel(2, 1), 0u);
    surface.SetPixel(2, 1, 0x80112233);
    const std::uint8_t* pixel = surface.Row(1) + 8;
    EXPECT_EQ((std::uint32_t(pixel[3]) << 24 | pixel[2] << 16 | pixel[1] << 8 | pixel[0]), 0x80112233u);
    EXPECT_EQ(surface.Bits() + 12, surface.Row(1));
}

// Each case is checked against the plain rule: a target pixel takes the source pixel it maps to when
// that lies inside both the copied rectangle and the source; all others keep their colour.
// Sizes whose bytes no address space holds are refused, not wrapped round to a small buffer.
TEST(PixelSurfaceTest, SizesBeyondTheAddressSpaceAreRefused)
{
    const int most = std::numeric_limits<int>::max();
    EXPECT_THROW(PixelSurface(most, most), std::length_error);
    EXPECT_THROW(PixelSurface(-1, 1), std::length_error);
    if constexpr (sizeof(void*) == 4) {
        EXPECT_THROW(PixelSurface(32768, 32768), std::length_error) << "4 GiB, which wraps round to 0";
        EXPECT_THROW(PixelSurface(65535, 65535), std::length_error);
    }
}

TEST(PixelSurfaceTest, BlitClipsToBothSurfaces)
{
    constexpr int Big = std::numeric_limits<int>::max();
    struct Case {
        const char* name;
        PixelRect from;
        int x, y;
    } cases[] = {
        {"inside", {1, 1, 2, 2}, 2, 3},
        {"whole source at the origin", {0, 0, 4, 3}, 0, 0},
        {"target above and left", {0, 0, 4, 3}, -2, -1},
        {"target beyond right and bottom", {0, 0, 4, 3}, 3, 4},
        {"rectangle beyond the source", {2, 1, 9, 9}, 0, 0},
        {"rectangle before the source", {-2, -1, 4, 3}, 1, 1},
        {"empty rectangle", {0, 0, 0, 3}, 1, 1},
        {"negative size", {0, 0, -3, 3}, 1, 1},
        {"far outside", {0, 0, 4, 3}, Big, -Big},
        {"huge rectangle", {-Big, -Big, Big, Big}, Big, 0},
    };
    const PixelSurface source = Numbered(4, 3);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PixelSurface target(5, 6);
        target.Fill(Sentinel);
        target.Blit(source, c.from, c.x, c.y);
        for (int ty = 0; ty < 6; ++ty)
            for (int tx = 0; tx < 5; ++tx) {
                const std::int64_t dx = std::int64_t(tx) - c.x, dy = std::int64_t(ty) - c.y;
                const std::int64_t sx = c.from.Left + dx, sy = c.from.Top + dy;
                const bool copied = dx >= 0 && dy >= 0 && dx < c.from.Width && dy < c.from.Height &&
                                    sx >= 0 && sy >= 0 && sx < 4 && sy < 3;
                EXPECT_EQ(target.Pixel(tx, ty), copied ? source.Pixel(int(sx), int(sy)) : Sentinel)
                    << "at " << tx << "," << ty;
            }
    }
}

TEST(PixelSurfaceTest, FillKeepsToTheSurface)
{
    constexpr int Big = std::numeric_limits<int>::max();
    const PixelRect rects[] = {{1, 1, 2, 3}, {-3, -3, 5, 5}, {3, 4, 9, 9}, {Big, 0, Big, 1}, {0, 0, -2, 2}};
    for (const PixelRect& rect : rects) {
        PixelSurface surface(4, 5);
        surface.Fill(rect, 7);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 4; ++x) {
                const bool inside = x >= rect.Left && y >= rect.Top && x < std::int64_t(rect.Left) + rect.Width &&
                                    y < std::int64_t(rect.Top) + rect.Height;
                EXPECT_EQ(surface.Pixel(x, y), inside ? 7u : 0u)
                    << rect.Left << "," << rect.Top << " at " << x << "," << y;
            }
    }
}
