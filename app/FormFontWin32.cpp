#include "app/FormFontWin32.h"

#include <algorithm>

namespace {

// The screen's device context for as long as the object lives.
class ScreenContext {
public:
    ScreenContext() : context_(GetDC(nullptr)) {}
    ~ScreenContext() { ReleaseDC(nullptr, context_); }
    ScreenContext(const ScreenContext&) = delete;
    ScreenContext& operator=(const ScreenContext&) = delete;
    HDC Get() const { return context_; }

private:
    HDC context_;
};

} // namespace

FontHandle CreateFormFont(const FontDescription& font)
{
    const ScreenContext screen;
    LOGFONTA logical = {};
    logical.lfHeight = FontHeightForScreen(font.height, GetDeviceCaps(screen.Get(), LOGPIXELSY));
    logical.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    logical.lfItalic = font.italic;
    logical.lfUnderline = font.underline;
    logical.lfStrikeOut = font.strikeOut;
    logical.lfCharSet = static_cast<BYTE>(font.charset);
    logical.lfOutPrecision = OUT_DEFAULT_PRECIS;
    logical.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    logical.lfQuality = DEFAULT_QUALITY;
    logical.lfPitchAndFamily = DEFAULT_PITCH;
    const std::size_t length = std::min(font.name.size(), sizeof logical.lfFaceName - 1);
    std::copy_n(font.name.begin(), length, logical.lfFaceName);
    FontHandle handle(CreateFontIndirectA(&logical));
    if (!handle)
        throw EAppError("Cannot create the window's font");
    return handle;
}

int MeasuredTextHeight(HFONT font)
{
    const ScreenContext screen;
    const HGDIOBJ old = SelectObject(screen.Get(), font);
    SIZE extent = {};
    GetTextExtentPoint32A(screen.Get(), "0", 1, &extent);
    SelectObject(screen.Get(), old);
    return extent.cy;
}
