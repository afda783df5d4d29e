// Placing, stretching, masking and tiling one frame on a pixel surface.
#include <gtest/gtest.h>

#include "imaging/gif/composition/GIFFrameDrawing.h"
#include "tests/unit/imaging/PlaybackHarness.h"

using gif::Bytes;
using gif::GifBuilder;
using gif::ImageOptions;

TEST(GIFFrameDrawing, ScaleFrameRectMapsTheBoundsInProportion)
{
    // The strip's frame 53: 437 wide at left 17 on a 454 x 23 screen.
    gif::Loaded loaded =
        gif::Load(GifBuilder().Header(454, 23, 2).Image(437, 23, Bytes(437 * 23), ImageOptions{17}).bytes);
    const struct {
        PictureRect target;
        PictureRect expected;
    } cases[] = {
        {{0, 0, 454, 23}, {17, 0, 454, 23}},
        {{10, 5, 464, 28}, {27, 5, 464, 28}},
        {{0, 0, 227, 46}, {9, 0, 227, 46}}, // 8.5 rounds away from zero
        {{0, 0, 348, 16}, {13, 0, 348, 16}},
    };
    for (const auto& c : cases) {
        const PictureRect got = ScaleFrameRect(loaded.Frame(0), c.target);
        EXPECT_TRUE(got.left == c.expected.left && got.top == c.expected.top && got.right == c.expected.right &&
                    got.bottom == c.expected.bottom)
            << got.left << "," << got.top << "," << got.right << "," << got.bottom;
    }
}

TEST(GIFFrameDrawing, DrawFrameStretchesMasksAndTiles)
{
    // A 2 x 1 screen. Frame 0: one pixel of colour 2 at left 1. Frame 1: colours 1 and 3, 3 transparent.
    gif::Loaded loaded = gif::Load(GifBuilder()
                                       .Header(2, 1, 4)
                                       .Image(1, 1, {2}, ImageOptions{1})
                                       .GraphicControl(1, 0, 3)
                                       .Image(2, 1, {1, 3})
                                       .bytes);
    const struct {
        const char* name;
        int frame;
        PictureRect rect;
        bool transparent, tile;
        const char* row;
    } cases[] = {
        {"placed at its left", 0, {0, 0, 2, 1}, false, false, "K2KKKKKK"},
        {"stretched with the screen", 0, {0, 0, 8, 1}, false, false, "KKKK2222"},
        {"masked", 1, {0, 0, 2, 1}, true, false, "1KKKKKKK"},
        {"masked and stretched", 1, {2, 0, 8, 1}, true, false, "KK111KKK"},
        {"mask not asked for", 1, {0, 0, 2, 1}, false, false, "13KKKKKK"},
        {"tiled from its left in screen steps", 0, {0, 0, 6, 1}, false, true, "K2K2K2KK"},
        {"tiled and masked", 1, {1, 0, 8, 1}, true, true, "K1K1K1K1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PixelSurface canvas(8, 1);
        canvas.Fill(PlaybackHarness::Backdrop);
        DrawFrame(loaded.Frame(c.frame), canvas, c.rect, c.transparent, c.tile);
        EXPECT_EQ(PlaybackHarness::Snapshot(canvas), c.row);
    }
}
