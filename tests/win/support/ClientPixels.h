#pragma once
// Pixels of the update window's client area: as the screen shows them, and as they should look while
// neither control has a picture (the face colour, with the label's text at its place). Both are 32-bit
// top-down rows, so they compare byte for byte.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

struct ClientPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> values;

    bool operator==(const ClientPixels& other) const
    {
        return width == other.width && height == other.height && values == other.values;
    }

    // The rows from `top` down, as pixels of their own.
    ClientPixels RowsFrom(int top) const
    {
        ClientPixels rows{width, height - top, {}};
        rows.values.assign(values.begin() + std::ptrdiff_t(top) * width, values.end());
        return rows;
    }
};

// The window's client area copied from the screen.
ClientPixels CaptureClient(HWND window);

// The window as designed. The test bed shows it at this size, as a Chinese Windows does: there the text
// "0" in the window's font measures 13 pixels (tools/wine-prefix registers a stand-in font for that).
namespace Designed {
constexpr int ClientWidth = 348;
constexpr int ClientHeight = 173;
constexpr int BannerHeight = 130;                // Image1: rows 0 to 129, the banner's own size
constexpr int StripTop = 130, StripHeight = 16; // Image2: rows 130 to 145
constexpr int LabelLeft = 8, LabelTop = 151, LabelWidth = 321, LabelHeight = 18;
} // namespace Designed

// A client area of that size in the face colour with `label` drawn where the layout puts Label1, in the
// window's font ("宋体", height -13, GB2312_CHARSET), left- and top-aligned on one line in the window-text
// colour.
ClientPixels ExpectedClient(int width, int height, const char* label);

// The height of the text "0" in the window's font on the screen.
int WindowFontTextHeight();

// Whether the icon control shows `icon` on the screen: its client area equals the icon drawn over the
// control's background (the colour of its top-left pixel, which standard icons leave transparent).
bool ShowsIcon(HWND iconControl, HICON icon);
