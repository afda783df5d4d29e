#pragma once
// Drawing one frame onto a pixel surface: its place on the target, plain or through its transparency
// mask, stretched to that place, or repeated across the target when tiling.
#include "imaging/gif/decoding/GIFFrameBitmap.h"
#include "imaging/gif/decoding/GIFSubImage.h"
#include "imaging/surface/Picture.h"
#include "imaging/surface/PixelSurface.h"

// The frame's bounds mapped into `target` in proportion to the logical screen (MulDivRounded on each
// edge).
PictureRect ScaleFrameRect(const TGIFSubImage& frame, const PictureRect& target);

// Without tile the frame goes to ScaleFrameRect(rect); with tile, unscaled, to every tile position that
// starts inside rect (from rect's top-left offset by the frame's left and top, in steps of the logical
// screen size); tiles are drawn whole, the surface clips them. With `transparent`, a transparent frame
// that has a mask keeps the canvas under its transparent pixels. An empty frame draws nothing.
void DrawFrame(TGIFSubImage& frame, PixelSurface& canvas, const PictureRect& rect, bool transparent, bool tile);

// The bitmap stretched by nearest pixel onto `rect` of the canvas, clipped to the canvas, in the colours
// of its colour table (alpha 255). Pixels whose mask bit is set keep the canvas; without a mask every
// pixel is copied.
void MaskedStretchBlit(PixelSurface& canvas, const PictureRect& rect, const GIFIndexedBitmap& bitmap,
                       const GIFBitMask* mask);

// A colour value (red + green * 256 + blue * 65536) as an opaque surface pixel.
std::uint32_t PixelOfColor(std::uint32_t color);
