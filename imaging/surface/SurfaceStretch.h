#pragma once
// Rectangle copies between pixel surfaces, and the tiling walk that repeats a picture across an area.
#include <functional>

#include "imaging/surface/PictureRectMath.h"
#include "imaging/surface/PixelSurface.h"

// Copies `from` of `source` onto `to` of `target`, stretched by nearest pixel when the sizes differ
// (each target pixel takes the source pixel its position maps to), clipped to both surfaces.
void StretchCopy(PixelSurface& target, const PictureRect& to, const PixelSurface& source, const PictureRect& from);

// Calls `place(x, y)` for each tile position: starting at area's top-left offset by (offsetX, offsetY),
// stepping by (stepX, stepY) while a tile starts inside the area. A step of 0 or less places one tile
// along that axis.
void ForEachTile(const PictureRect& area, int offsetX, int offsetY, int stepX, int stepY,
                 const std::function<void(int x, int y)>& place);
