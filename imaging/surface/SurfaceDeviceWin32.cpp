#include "imaging/surface/SurfaceDeviceWin32.h"

#include <cstring>

#include "common/HandlesWin32.h"

namespace {

// A 32-bit top-down device-independent bitmap of the surface's size.
BITMAPINFO TopDownInfo(const PixelSurface& surface)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = surface.Width();
    info.bmiHeader.biHeight = -surface.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

} // namespace

void ReadDevicePixels(HDC deviceContext, const PictureRect& rect, PixelSurface& surface)
{
    if (surface.Empty())
        return;
    const BITMAPINFO info = TopDownInfo(surface);
    void* bits = nullptr;
    const MemoryDCHandle memory(CreateCompatibleDC(deviceContext));
    const BitmapHandle bitmap(CreateDIBSection(deviceContext, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory || !bitmap || bits == nullptr)
        return;
    const HGDIOBJ previous = SelectObject(memory.Get(), bitmap.Get());
    const bool copied = BitBlt(memory.Get(), 0, 0, surface.Width(), surface.Height(), deviceContext, rect.left,
                               rect.top, SRCCOPY) != FALSE;
    SelectObject(memory.Get(), previous);
    GdiFlush();
    if (copied)
        std::memcpy(surface.Row(0), bits, surface.Stride() * std::size_t(surface.Height()));
}

void PresentSurface(HDC deviceContext, const PictureRect& rect, const PixelSurface& surface)
{
    if (surface.Empty())
        return;
    const BITMAPINFO info = TopDownInfo(surface);
    SetDIBitsToDevice(deviceContext, rect.left, rect.top, DWORD(surface.Width()), DWORD(surface.Height()), 0, 0, 0,
                      UINT(surface.Height()), surface.Bits(), &info, DIB_RGB_COLORS);
}
