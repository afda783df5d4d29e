#pragma once
// A decoded JPEG picture: its pixels, and with 8-bit output the palette that holds all of their colours
// (empty with 24-bit output).
#include "imaging/surface/ColorPalette.h"
#include "imaging/surface/PixelSurface.h"

struct TJPEGBitmap {
    PixelSurface Pixels;
    ColorPalette Palette;
};
