#pragma once
// The update window's two kinds of control. Neither has a window of its own: the window paints them, in
// layout order, onto its own device context. Windows only.
#include <windows.h>

#include <memory>
#include <string>

#include "app/WindowGeometry.h"
#include "imaging/surface/Picture.h"

// What the window lends its controls for painting.
struct PaintContext {
    HDC deviceContext = nullptr;
    HFONT font = nullptr;     // the window's font
    COLORREF textColor = 0;   // the window font's colour
};

class TControl {
public:
    virtual ~TControl() = default;
    virtual void Paint(const PaintContext& context) const = 0;

    ControlBounds bounds;
};

// A picture control: shows its picture, unscaled, from its own top-left corner, clipped to its bounds.
// Without a picture it draws nothing. While it paints, `drawing` is set, so that the picture's change
// notices of that paint ask for no new one.
class TImage : public TControl {
public:
    void Paint(const PaintContext& context) const override;

    std::unique_ptr<Picture> picture;
    mutable bool drawing = false;
};

// A label: its caption on one line, left- and top-aligned in its bounds, "&" marking an accelerator
// (DrawTextA's default), in the window's font; it paints no background.
class TLabel : public TControl {
public:
    void Paint(const PaintContext& context) const override;

    std::string caption;
};
