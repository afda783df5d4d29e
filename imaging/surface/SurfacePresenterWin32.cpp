#include "imaging/surface/SurfacePresenterWin32.h"

#include <vector>

#include "common/HandlesWin32.h"

namespace {

PaletteHandle CreateLogicalPalette(const ColorPalette& colors)
{
    std::vector<std::uint8_t> memory(sizeof(LOGPALETTE) + colors.size() * sizeof(PALETTEENTRY));
    auto* logical = reinterpret_cast<LOGPALETTE*>(memory.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = static_cast<WORD>(colors.size());
    for (std::size_t i = 0; i < colors.size(); ++i)
        logical->palPalEntry[i] = {colors[i].peRed, colors[i].peGreen, colors[i].peBlue, colors[i].peFlags};
    return PaletteHandle(CreatePalette(logical));
}

void StretchSurface(HDC dc, const PictureRect& rect, const PixelSurface& surface)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = surface.Width();
    info.bmiHeader.biHeight = -surface.Height(); // rows top to bottom
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, 0, 0, surface.Width(),
                  surface.Height(), surface.Bits(), &info, DIB_RGB_COLORS, SRCCOPY);
}

} // namespace

void PresentSurface(HDC dc, const PictureRect& rect, const PixelSurface& surface, const ColorPalette& palette)
{
    if (surface.Empty())
        return;
    if (palette.empty() || (GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) == 0) {
        StretchSurface(dc, rect, surface);
        return;
    }
    const PaletteHandle logical = CreateLogicalPalette(palette);
    const HPALETTE old = SelectPalette(dc, logical.Get(), FALSE);
    RealizePalette(dc);
    StretchSurface(dc, rect, surface);
    SelectPalette(dc, old, FALSE);
}
