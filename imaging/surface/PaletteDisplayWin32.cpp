#include "imaging/surface/PaletteDisplayWin32.h"

#include <windows.h>

bool IsPaletteDisplay()
{
    const HDC screen = GetDC(nullptr);
    const int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    return bits <= 8;
}
