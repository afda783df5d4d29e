#include "imaging/gif/playback/GIFPictureWin32.h"

#include <memory>

#include "imaging/surface/PictureCanvasWin32.h"
#include "imaging/surface/PictureRectMath.h"
#include "imaging/surface/SurfaceDeviceWin32.h"

GIFPicture::GIFPicture(const std::uint8_t* data, std::size_t size, const PlaybackPlatform& platform,
                       bool paletteDisplay)
{
    image_.RenderOptions.PaletteDisplay = paletteDisplay;
    GIFByteStream stream(data, size);
    image_.LoadFromStream(stream);
    playback_.Platform = &platform;
}

// The playback works on a surface holding what the canvas shows under `rect`, which is then presented.
void GIFPicture::Draw(PictureCanvas& canvas, const PictureRect& rect)
{
    const int width = RectWidth(rect), height = RectHeight(rect);
    if (width <= 0 || height <= 0)
        return;
    PixelSurface surface(width, height);
    ReadDevicePixels(canvas.DeviceContext(), rect, surface);
    playback_.Draw({&surface, {}, {}}, {0, 0, width, height});
    PresentSurface(canvas.DeviceContext(), rect, surface);
}

void RegisterGIFImage(PictureRegistry& registry, const PlaybackPlatform& platform, bool paletteDisplay)
{
    RegisterClipboardFormatA("GIF Image");
    registry.Register("TGIFImage", [&platform, paletteDisplay](const std::uint8_t* data, std::size_t size) {
        return std::make_unique<GIFPicture>(data, size, platform, paletteDisplay);
    });
}
