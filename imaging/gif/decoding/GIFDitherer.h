#pragma once
// Rendering a frame for a palette display: its colours diffused onto the 216-colour palette.
//
// Floyd-Steinberg error diffusion, every row left to right: each channel goes to the nearest of the six
// levels (0, 51, ..., 255) and its error passes 7/16 right, 3/16 down-left, 5/16 down, 1/16 down-right.
// A colour of the 216-colour palette maps onto itself with no error, so such frames are exact.
#include <cstdint>

#include "imaging/gif/decoding/GIFFrameBitmap.h"
#include "imaging/surface/ColorPalette.h"

// The colour of an index is taken from `sourceColors` (an index beyond it is black); the bitmap's colour
// table is the 216-colour palette, black after it.
GIFIndexedBitmap RenderDitheredFrame(const std::uint8_t* pixels, std::uint32_t width, std::uint32_t height,
                                     const ColorPalette& sourceColors, const GIFRowProgress& progress);
