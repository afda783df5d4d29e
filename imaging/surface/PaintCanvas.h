#pragma once
// Where frames are drawn: a pixel surface, the notice given after drawing changed it, and the check
// that tells whether the target is still there (looked at by a buffered painter under VerifyTarget).
#include <functional>

#include "imaging/surface/PixelSurface.h"

struct PaintCanvas {
    PixelSurface* Surface = nullptr;
    std::function<void()> OnChange; // unset: nobody is told
    std::function<bool()> Valid;    // unset: always valid

    void Changed() const
    {
        if (OnChange)
            OnChange();
    }
};
