#pragma once
// The GIF picture class of the picture controls ("TGIFImage"): a TGIFImage read from the layout's
// picture data, drawn through a pixel surface that holds what the control's device context showed,
// and presented with SetDIBitsToDevice. Windows only.
//
// Decisions:
// - The canvas surface lives for one paint, so PaintOnTarget is not offered here: the image keeps the
//   default options, and an animation always plays into its frame cache.
// - The registry knows kinds only, so the file extension "GIF" and the description "GIF Image" are not
//   kept anywhere.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>

#include "imaging/gif/decoding/GIFImage.h"
#include "imaging/gif/playback/GIFPlayback.h"
#include "imaging/gif/playback/PlaybackPlatform.h"
#include "imaging/surface/Picture.h"
#include "imaging/surface/PictureRegistry.h"

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
    GIFPlayback playback_{image_};
};

// Registers "TGIFImage" (whose pictures read the rest of the layout's block) and the clipboard format
// "GIF Image". paletteDisplay: the screen has 8 bits per pixel or fewer (IsPaletteDisplay). The platform
// must outlive every picture made.
void RegisterGIFImage(PictureRegistry& registry, const PlaybackPlatform& platform, bool paletteDisplay);
