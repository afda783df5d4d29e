#include "app/WindowGeometry.h"

#include "common/MulDivRounded.h"

ScreenPoint DesktopCentre(PixelSize virtualDesktop, PixelSize window)
{
    const auto centred = [](int desktop, int size) {
        const int offset = (desktop - size) / 2;
        return offset < 0 ? 0 : offset;
    };
    return {centred(virtualDesktop.width, window.width), centred(virtualDesktop.height, window.height)};
}

int FontHeightForScreen(int fontHeight, int screenPixelsPerInch)
{
    if (screenPixelsPerInch == DesignPixelsPerInch)
        return fontHeight;
    return MulDivRounded(fontHeight, screenPixelsPerInch, DesignPixelsPerInch);
}

FormBounds ScaleToTextHeight(FormBounds bounds, int measuredTextHeight)
{
    if (measuredTextHeight == DesignTextHeight)
        return bounds;
    const auto scale = [measuredTextHeight](int& value) {
        value = MulDivRounded(value, measuredTextHeight, DesignTextHeight);
    };
    scale(bounds.client.width);
    scale(bounds.client.height);
    for (ControlBounds& control : bounds.controls) {
        scale(control.left);
        scale(control.top);
        scale(control.width);
        scale(control.height);
    }
    return bounds;
}
