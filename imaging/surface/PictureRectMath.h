#pragma once
// Sizes and comparison of picture rectangles (right and bottom exclusive).
#include "imaging/surface/Picture.h"

inline int RectWidth(const PictureRect& rect) { return rect.right - rect.left; }
inline int RectHeight(const PictureRect& rect) { return rect.bottom - rect.top; }
// Left not less than right, or top not less than bottom.
inline bool RectEmpty(const PictureRect& rect) { return rect.left >= rect.right || rect.top >= rect.bottom; }
inline bool operator==(const PictureRect& a, const PictureRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
