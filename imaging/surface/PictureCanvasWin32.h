#pragma once
// The canvas a picture draws on under Windows: the device context of the window being painted, already
// clipped to the picture control. Windows only.
#include <windows.h>

class PictureCanvas {
public:
    explicit PictureCanvas(HDC deviceContext) : deviceContext_(deviceContext) {}
    HDC DeviceContext() const { return deviceContext_; }

private:
    HDC deviceContext_;
};
