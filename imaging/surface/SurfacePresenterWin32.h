#pragma once
// Puts a finished pixel surface on a device context, stretched to the rectangle (1 : 1 when the rectangle
// has the surface's size). With a palette, on a device that uses palettes, the palette is selected and
// realised for the drawing and the device's own is put back afterwards. Windows only.
#include <windows.h>

#include "imaging/surface/ColorPalette.h"
#include "imaging/surface/Picture.h"
#include "imaging/surface/PixelSurface.h"

void PresentSurface(HDC dc, const PictureRect& rect, const PixelSurface& surface, const ColorPalette& palette);
