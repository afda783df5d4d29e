#include "imaging/jpeg/JPEGPictureWin32.h"

#include <memory>

#include "imaging/surface/PictureCanvasWin32.h"
#include "imaging/surface/SurfacePresenterWin32.h"

void JPEGPicture::Draw(PictureCanvas& canvas, const PictureRect& rect)
{
    const TJPEGBitmap& bitmap = Image.Bitmap();
    PresentSurface(canvas.DeviceContext(), rect, bitmap.Pixels, bitmap.Palette);
}

void RegisterJPEGImage(PictureRegistry& registry, bool paletteDisplay)
{
    registry.Register("TJPEGImage", [paletteDisplay](const std::uint8_t* data, std::size_t size) {
        auto picture = std::make_unique<JPEGPicture>(paletteDisplay);
        picture->Image.ReadStream(data, size);
        return std::unique_ptr<Picture>(std::move(picture));
    });
}
