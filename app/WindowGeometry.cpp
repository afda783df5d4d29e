#include "app/WindowGeometry.h"

#include <cstdint>

int ScaleRounded(int value, int numerator, int denominator)
{
    const std::int64_t product = static_cast<std::int64_t>(value) * numerator;
    const std::int64_t quotient = product / denominator;
    const std::int64_t remainder = product % denominator;
    const std::int64_t twiceRemainder = remainder < 0 ? -2 * remainder : 2 * remainder;
    if (twiceRemainder < denominator)
        return static_cast<int>(quotient);
    return static_cast<int>(product < 0 ? quotient - 1 : quotient + 1);
}

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
    return ScaleRounded(fontHeight, screenPixelsPerInch, DesignPixelsPerInch);
}

FormBounds ScaleToTextHeight(FormBounds bounds, int measuredTextHeight)
{
    if (measuredTextHeight == DesignTextHeight)
        return bounds;
    const auto scale = [measuredTextHeight](int& value) {
        value = ScaleRounded(value, measuredTextHeight, DesignTextHeight);
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
