#include "app/WindowGeometry.h"

#include <gtest/gtest.h>

namespace {

TEST(DesktopCentre, HalvesTheSpareRoomAndNeverGoesNegative)
{
    const struct {
        PixelSize desktop, window;
        int x, y;
    } cases[] = {
        {{1024, 768}, {354, 202}, 335, 283},
        {{1025, 769}, {354, 202}, 335, 283},
        {{300, 100}, {354, 202}, 0, 0},
        {{353, 768}, {354, 202}, 0, 283},
        {{354, 202}, {354, 202}, 0, 0},
    };
    for (const auto& c : cases) {
        const ScreenPoint at = DesktopCentre(c.desktop, c.window);
        EXPECT_EQ(at.x, c.x) << c.desktop.width << "x" << c.desktop.height;
        EXPECT_EQ(at.y, c.y) << c.desktop.width << "x" << c.desktop.height;
    }
}

TEST(FontHeightForScreen, ScalesOnlyAwayFromTheDesignResolution)
{
    EXPECT_EQ(FontHeightForScreen(-13, 96), -13);
    EXPECT_EQ(FontHeightForScreen(-13, 120), -16);
    EXPECT_EQ(FontHeightForScreen(-13, 144), -20);
    EXPECT_EQ(FontHeightForScreen(-13, 72), -10);
}

FormBounds WindowLayout()
{
    return {{348, 173}, {{0, 0, 348, 130}, {0, 130, 348, 16}, {8, 151, 321, 18}}};
}

void ExpectBounds(const ControlBounds& actual, const ControlBounds& expected)
{
    EXPECT_EQ(actual.left, expected.left);
    EXPECT_EQ(actual.top, expected.top);
    EXPECT_EQ(actual.width, expected.width);
    EXPECT_EQ(actual.height, expected.height);
}

TEST(ScaleToTextHeight, ScalesClientAndEveryControlByMeasuredOverThirteen)
{
    const FormBounds scaled = ScaleToTextHeight(WindowLayout(), 16);
    EXPECT_EQ(scaled.client.width, 428);
    EXPECT_EQ(scaled.client.height, 213);
    ASSERT_EQ(scaled.controls.size(), 3u);
    ExpectBounds(scaled.controls[0], {0, 0, 428, 160});
    ExpectBounds(scaled.controls[1], {0, 160, 428, 20});
    ExpectBounds(scaled.controls[2], {10, 186, 395, 22});
}

TEST(ScaleToTextHeight, LeavesTheDesignTextHeightAlone)
{
    const FormBounds same = ScaleToTextHeight(WindowLayout(), 13);
    EXPECT_EQ(same.client.width, 348);
    EXPECT_EQ(same.client.height, 173);
    ExpectBounds(same.controls[2], {8, 151, 321, 18});
}

} // namespace
