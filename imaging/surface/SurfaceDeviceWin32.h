#pragma once
// Pixel surfaces and device contexts: reading what a device context shows into a surface, and
// presenting a finished surface. Windows only.
#include <windows.h>

#include "imaging/surface/Picture.h"
#include "imaging/surface/PixelSurface.h"

// `rect` of the device context copied into `surface` (of the rect's size). A device context that
// cannot be read leaves the surface as it was.
void ReadDevicePixels(HDC deviceContext, const PictureRect& rect, PixelSurface& surface);
// The surface drawn 1 : 1 from the rect's top-left corner.
void PresentSurface(HDC deviceContext, const PictureRect& rect, const PixelSurface& surface);
