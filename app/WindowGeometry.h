#pragma once
// The update window's geometry arithmetic: centring on the desktop at the first showing, and scaling of the
// layout at creation from the design resolution (96 pixels per inch, text height 13).
//
// Rounding "to the nearest integer" rounds halves away from zero (-19.5 becomes -20, 6.5 becomes 7), with
// exact integer arithmetic.
#include <vector>

struct ScreenPoint {
    int x = 0;
    int y = 0;
};

struct PixelSize {
    int width = 0;
    int height = 0;
};

struct ControlBounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The window's client size and its controls' bounds, as the layout gives them or as scaled.
struct FormBounds {
    PixelSize client;
    std::vector<ControlBounds> controls;
};

constexpr int DesignPixelsPerInch = 96;
constexpr int DesignTextHeight = 13;

// Top-left corner that centres a window of the given outer size on the virtual desktop: each coordinate is
// (desktop − window) / 2 truncated toward zero, and 0 when negative. The desktop's origin is not added.
ScreenPoint DesktopCentre(PixelSize virtualDesktop, PixelSize window);

// The font height for the screen's pixels per inch: unchanged at 96, else height × ppi / 96 rounded.
int FontHeightForScreen(int fontHeight, int screenPixelsPerInch);

// The bounds for a measured height of the text "0": unchanged at 13, else every control's position and size
// and the client size scaled by measured / 13, each rounded.
FormBounds ScaleToTextHeight(FormBounds bounds, int measuredTextHeight);
