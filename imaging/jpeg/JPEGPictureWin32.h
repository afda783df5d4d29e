#pragma once
// The JPEG picture as a picture control shows it, and its registration under the kind "TJPEGImage".
// Windows only.
#include "imaging/jpeg/JPEGImage.h"
#include "imaging/surface/Picture.h"
#include "imaging/surface/PictureRegistry.h"

class JPEGPicture : public Picture {
public:
    explicit JPEGPicture(bool paletteDisplay) : Image(paletteDisplay) {}

    TJPEGImage Image;

    int Width() const override { return Image.Width(); }
    int Height() const override { return Image.Height(); }
    // Decodes on the first draw (a decoding error is raised from that draw only), then draws the bitmap
    // stretched to the rectangle, with its palette on a palette display.
    void Draw(PictureCanvas& canvas, const PictureRect& rect) override;
};

// Registers "TJPEGImage": its pictures read the stream that the layout's block holds after its length.
// paletteDisplay: the screen has 8 bits per pixel or fewer (IsPaletteDisplay), tested once at start-up.
void RegisterJPEGImage(PictureRegistry& registry, bool paletteDisplay);
