#pragma once
// A GIF picture: the header with the logical screen and the global colour table, and its frames.
// Whoever plays it (GIFPlayback, with its options, frame cache, painters and draw operation) listens
// through GIFImageListener: clearing the picture stops all playback, adding a frame releases the frame
// cache, and destroying it stops every painter and makes those still listed forget the image.
//
// Loading follows the stream's blocks and reports what it meets to the warning hook (severity 1; the
// sender is the item that met it, or null for the picture as a whole: "Unknown GIF block type",
// "Invalid Image trailer"). An error raises GIFException, puts the stream back where loading began and
// leaves the frames read before the one that failed.
//
// Decisions where the format leaves a choice:
// - A frame above MaxFramePixels pixels (64 Mi by default) raises "Image too large to decode" instead of
//   taking gigabytes for indices and bitmap.
// - The loop extension's reader stops at the end of the stream as at a zero-length sub-block.
// - An extension introducer with no label after it, or an application identifier cut short, raises
//   "Premature end of data"; an application block size above 11 raises "Unsupported Application
//   Extension block size", as one below 10 does.
// - The LZW decoder's own choices (code sizes above 11, codes naming no entry, the code after the last
//   pixel) are in GIFLZWDecoder.h.
// - Rendering: the transparency mask is built from the colour indices in the dithered path too; an empty
//   frame is not rendered and gives no "Rendering..." notices; the one-bit format that the system
//   bitmap of a frame above 500,000 pixels first receives has no counterpart in these pixel buffers.
// - The ditherer is Floyd-Steinberg error diffusion onto the 216-colour palette (GIFDitherer.h).
// - The hooks run on the thread that loads or renders.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "imaging/gif/decoding/GIFByteStream.h"
#include "imaging/gif/decoding/GIFHeader.h"
#include "imaging/gif/decoding/GIFImageList.h"
#include "imaging/gif/decoding/GIFImageListener.h"
#include "imaging/gif/decoding/GIFItem.h"
#include "imaging/surface/ColorPalette.h"
#include "imaging/surface/ProgressHook.h"

using TGIFWarningHook = std::function<void(const TGIFItem* sender, int severity, const std::string& message)>;

// How frames are rendered: dithered onto the 216-colour palette when DitherFrames is set and either
// DitherOnPaletteDisplay is not set or the display is a palette display (8 bits per pixel or fewer).
struct GIFRenderOptions {
    bool DitherFrames = true;
    bool DitherOnPaletteDisplay = true;
    bool PaletteDisplay = false;
};

class TGIFImage : public GIFWarningSink {
public:
    static constexpr std::uint64_t DefaultMaxFramePixels = std::uint64_t(64) << 20;

    TGIFImage() : Header(*this) {}
    // Tells the listener that the image ends, before the frames go.
    ~TGIFImage();
    TGIFImage(const TGIFImage&) = delete;
    TGIFImage& operator=(const TGIFImage&) = delete;

    TGIFHeader Header;
    TGIFImageList Images;
    TGIFWarningHook OnWarning; // unset: warnings are dropped
    TProgressHook OnProgress;  // unset: no notices
    GIFRenderOptions RenderOptions;
    std::uint64_t MaxFramePixels = DefaultMaxFramePixels;
    std::function<void()> OnChange; // the graphic's change notice; unset: nobody is told

    int Width() const { return Header.ScreenWidth; }
    int Height() const { return Header.ScreenHeight; }
    bool Empty() const { return Images.Count() == 0; }

    // Clears the picture, then reads header, frames and trailer ("Loading..." progress: 0 at the start,
    // the stream position in percent after each frame, 100 at the end or 0 after an error).
    void LoadFromStream(GIFByteStream& stream);
    // The one listener (null: none), told of frame changes and of the image's end.
    void SetListener(GIFImageListener* listener) { listener_ = listener; }

    // Stops all playback, then: no frames, screen 0 x 0, empty global table, no palette.
    void Clear();
    // Appends a frame; the frame cache is released first.
    void AddFrame(std::unique_ptr<TGIFSubImage> frame);
    // Tells OnChange.
    void Changed() const;

    // The global table's colour at the header's background index (see TGIFColorMap::ColorValue).
    std::uint32_t BackgroundColor() const { return Header.ColorMap.ColorValue(Header.BackgroundIndex); }
    bool DitheringApplies() const;
    // The picture's palette, worked out once: the 216-colour palette when dithering applies, else its
    // colours (SourcePalette).
    const ColorPalette& Palette();
    // The global table's export; without one, frame 0's colours. A picture with no colour table at all
    // raises "No global or local color table defined".
    ColorPalette SourcePalette() const;

    void Warn(const TGIFItem* sender, const std::string& message) const override;
    void Progress(TProgressStage stage, int percent, const std::string& message) const;

private:
    void ReadFrames(GIFByteStream& stream);
    void ReadTrailer(GIFByteStream& stream) const;

    GIFImageListener* listener_ = nullptr;
    std::optional<ColorPalette> palette_;
    mutable bool workingOutPalette_ = false;
};
