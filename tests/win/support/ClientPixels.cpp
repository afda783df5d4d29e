#include "support/ClientPixels.h"

#include <cstring>

#include "common/HandlesWin32.h"

namespace {

// A 32-bit top-down bitmap selected into a memory device context.
class PixelCanvas {
public:
    PixelCanvas(int width, int height) : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr))
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
    }
    ~PixelCanvas()
    {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    PixelCanvas(const PixelCanvas&) = delete;
    PixelCanvas& operator=(const PixelCanvas&) = delete;

    HDC Dc() const { return dc_; }
    ClientPixels Pixels() const
    {
        GdiFlush();
        ClientPixels pixels{width_, height_, std::vector<std::uint32_t>(static_cast<std::size_t>(width_) * height_)};
        std::memcpy(pixels.values.data(), bits_, pixels.values.size() * sizeof(std::uint32_t));
        return pixels;
    }

private:
    int width_;
    int height_;
    HDC dc_;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    void* bits_ = nullptr;
};

FontHandle WindowFont()
{
    LOGFONTA font = {};
    font.lfHeight = -13;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = GB2312_CHARSET;
    std::strcpy(font.lfFaceName, "\xCB\xCE\xCC\xE5"); // 宋体
    return FontHandle(CreateFontIndirectA(&font));
}

} // namespace

ClientPixels CaptureClient(HWND window)
{
    RECT client = {};
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    PixelCanvas canvas(client.right, client.bottom);
    const HDC screen = GetDC(nullptr);
    BitBlt(canvas.Dc(), 0, 0, client.right, client.bottom, screen, origin.x, origin.y, SRCCOPY);
    ReleaseDC(nullptr, screen);
    return canvas.Pixels();
}

int WindowFontTextHeight()
{
    const FontHandle font = WindowFont();
    const HDC screen = GetDC(nullptr);
    const HGDIOBJ old = SelectObject(screen, font.Get());
    SIZE extent = {};
    GetTextExtentPoint32A(screen, "0", 1, &extent);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return extent.cy;
}

ClientPixels ExpectedClient(int width, int height, const char* label)
{
    PixelCanvas canvas(width, height);
    RECT all = {0, 0, width, height};
    FillRect(canvas.Dc(), &all, GetSysColorBrush(COLOR_BTNFACE));
    const FontHandle font = WindowFont();
    SelectObject(canvas.Dc(), font.Get());
    SetBkMode(canvas.Dc(), TRANSPARENT);
    SetTextColor(canvas.Dc(), GetSysColor(COLOR_WINDOWTEXT));
    RECT place = {Designed::LabelLeft, Designed::LabelTop, Designed::LabelLeft + Designed::LabelWidth,
                  Designed::LabelTop + Designed::LabelHeight};
    DrawTextA(canvas.Dc(), label, -1, &place, DT_LEFT | DT_TOP | DT_SINGLELINE);
    SelectObject(canvas.Dc(), GetStockObject(SYSTEM_FONT));
    return canvas.Pixels();
}

bool ShowsIcon(HWND iconControl, HICON icon)
{
    const ClientPixels shown = CaptureClient(iconControl);
    if (shown.values.empty())
        return false;
    PixelCanvas canvas(shown.width, shown.height);
    const std::uint32_t background = shown.values[0];
    const HBRUSH brush = CreateSolidBrush(RGB((background >> 16) & 0xFF, (background >> 8) & 0xFF, background & 0xFF));
    RECT all = {0, 0, shown.width, shown.height};
    FillRect(canvas.Dc(), &all, brush);
    DeleteObject(brush);
    DrawIconEx(canvas.Dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
    return canvas.Pixels() == shown;
}
