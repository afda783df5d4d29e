#pragma once
// The GIF picture class of the picture controls ("TGIFImage"): a TGIFImage read from the layout's
// picture data, drawn through a pixel surface that holds what the control's device context showed,
// and presented with SetDIBitsToDevice. Windows only.
//
// Decisions:
// - The canvas surface lives for one paint, so PaintOnTarget is not offered here: the image keeps the
//   default options, and an animation always plays into its frame cache.
// - Registration also sets the process-wide PaletteDisplay flag, which the frame renderer reads.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>

#include "imaging/GIFImage.h"
#include "imaging/Picture.h"
#include "imaging/PlaybackPlatform.h"

class GIFPicture : public Picture {
public:
    // Reads the GIF from the data (raising GIFException on a broken stream).
    GIFPicture(const std::uint8_t* data, std::size_t size, const PlaybackPlatform& platform, bool paletteDisplay);

    int Width() const override { return image_.Width(); }
    int Height() const override { return image_.Height(); }
    void Draw(PictureCanvas& canvas, const PictureRect& rect) override;
    void SetOnChange(std::function<void()> onChange) override { image_.OnChange = std::move(onChange); }

private:
    TGIFImage image_;
};

// Registers "TGIFImage" in the picture registry (extension "GIF", description "GIF Image") and the
// clipboard format "GIF Image", and notes whether the display is a palette display. The platform must
// outlive every picture made.
void RegisterGIFImage(const PlaybackPlatform& platform);
