#pragma once
// A picture that a picture control shows: its own pixel size, and drawing itself into a rectangle of a
// canvas. The canvas is the platform's drawing target (a device context on Windows, see
// imaging/surface/PictureCanvasWin32.h); the core only passes it through.
#include <functional>

class PictureCanvas;

struct PictureRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

class Picture {
public:
    virtual ~Picture() = default;

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Draws the picture into `rect` of the canvas; the caller has clipped the canvas to the control.
    virtual void Draw(PictureCanvas& canvas, const PictureRect& rect) = 0;
    // `onChange` is told whenever the picture's pixels change by themselves (an animation); a picture
    // that never does ignores it.
    virtual void SetOnChange(std::function<void()> onChange) {}
};
