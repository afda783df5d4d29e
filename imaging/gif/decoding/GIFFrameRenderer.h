#pragma once
// Rendering a frame's colour indices (width x height bytes, rows top to bottom) into what the drawing
// layer shows: the bitmap with the frame's palette, and the transparency mask.
#include <cstdint>
#include <optional>

#include "imaging/gif/decoding/GIFFrameBitmap.h"
#include "imaging/surface/ColorPalette.h"

// The indices copied as they are under a colour table made from `palette`; an index beyond the palette
// thus shows black.
GIFIndexedBitmap RenderIndexedFrame(const std::uint8_t* pixels, std::uint32_t width, std::uint32_t height,
                                    const ColorPalette& palette, const GIFRowProgress& progress);

// A bit set where the pixel equals `transparentIndex`; none when no pixel does.
std::optional<GIFBitMask> BuildTransparencyMask(const std::uint8_t* pixels, std::uint32_t width,
                                                std::uint32_t height, std::uint8_t transparentIndex);
