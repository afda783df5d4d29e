// How a painter puts frames on its target: straight (PaintPlain), or through its composition buffers
// (PaintBuffered) when some frame restores the background or the previous picture.

#include "imaging/gif/composition/GIFFrameDrawing.h"
#include "imaging/gif/decoding/GIFImage.h"
#include "imaging/gif/playback/GIFPainter.h"
#include "imaging/surface/PictureRectMath.h"
#include "imaging/surface/SurfaceStretch.h"

namespace {

// Where a buffered painter draws a frame, by its disposal and the previous frame's.
enum class DrawPlace { Composite, CompositeThenRestore, Target, Scratch, Nowhere };

DrawPlace PlaceFor(std::uint8_t disposal, std::uint8_t previous)
{
    if (disposal <= 1)
        return DrawPlace::Composite;
    if (disposal == 2)
        return DrawPlace::CompositeThenRestore;
    if (disposal > 3)
        return DrawPlace::Nowhere;
    if (previous <= 1)
        return DrawPlace::Target;
    return previous <= 3 ? DrawPlace::Scratch : DrawPlace::Nowhere;
}

PictureRect WholeOf(const PixelSurface& surface)
{
    return {0, 0, surface.Width(), surface.Height()};
}

} // namespace

// BackdropCopy (under UseTransparency, when the background is restored) and the composite buffer
// start as copies of the target rectangle; the scratch buffer has the same size.
void TGIFPainter::CreateBuffers(bool restoresBackground)
{
    const int width = RectWidth(rect_), height = RectHeight(rect_);
    const PictureRect whole{0, 0, width, height};
    if (restoresBackground && Has(PlaybackOption::UseTransparency)) {
        backdropCopy_.emplace(width, height);
        StretchCopy(*backdropCopy_, whole, *target_.Surface, rect_);
    }
    compositeBuffer_.emplace(width, height);
    StretchCopy(*compositeBuffer_, whole, *target_.Surface, rect_);
    scratchBuffer_.emplace(width, height);
}

void TGIFPainter::PaintFrame()
{
    if (compositeBuffer_)
        PaintBuffered();
    else
        PaintPlain();
}

// Each frame lands on what the earlier ones left.
void TGIFPainter::PaintPlain()
{
    DrawFrame(CurrentImage(), *target_.Surface, rect_, Has(PlaybackOption::UseTransparency),
              Has(PlaybackOption::TileImage));
    target_.Changed();
    started_ = true;
}

// The composite buffer always holds the picture that the next frame builds on; a frame that restores
// the previous picture is shown without entering it.
void TGIFPainter::PaintBuffered()
{
    if (targetCheck_ && !targetCheck_()) {
        terminated_ = true;
        return;
    }
    const bool clearFirst = Has(PlaybackOption::ClearEachPass) && currentFrame_ == 0;
    const DrawPlace place = PlaceFor(disposal_, previousDisposal_);
    if (place == DrawPlace::Nowhere)
        return;
    PixelSurface* canvas = &*compositeBuffer_;
    PictureRect rect = WholeOf(*compositeBuffer_);
    if (place == DrawPlace::Target) {
        canvas = target_.Surface;
        rect = rect_;
    } else if (place == DrawPlace::Scratch) {
        *scratchBuffer_ = *compositeBuffer_;
        canvas = &*scratchBuffer_;
    }
    if (clearFirst)
        RestoreBackdrop();
    DrawFrame(CurrentImage(), *canvas, rect, Has(PlaybackOption::UseTransparency), Has(PlaybackOption::TileImage));
    if (place != DrawPlace::Target)
        target_.Surface->Blit(*canvas, {0, 0, canvas->Width(), canvas->Height()}, rect_.left, rect_.top);
    target_.Changed();
    if (place == DrawPlace::CompositeThenRestore)
        RestoreBackdrop();
    started_ = true;
}

// Returns the current frame's area of the composite buffer (every tile of it under TileImage) to what
// lay under the picture (UseTransparency) or to the backdrop colour.
void TGIFPainter::RestoreBackdrop()
{
    TGIFSubImage& frame = CurrentImage();
    PixelSurface& composite = *compositeBuffer_;
    const auto restore = [&](const PictureRect& area) {
        const PixelRect pixels{area.left, area.top, RectWidth(area), RectHeight(area)};
        if (Has(PlaybackOption::UseTransparency))
            composite.Blit(*backdropCopy_, pixels, area.left, area.top);
        else
            composite.Fill(pixels, PixelOfColor(backdropColor_));
    };
    const PictureRect whole = WholeOf(composite);
    if (!Has(PlaybackOption::TileImage)) {
        restore(ScaleFrameRect(frame, whole));
        return;
    }
    const TGIFImageDescriptor& d = frame.Descriptor;
    ForEachTile(whole, d.Left, d.Top, frame.Image().Width(), frame.Image().Height(),
                [&](int x, int y) { restore({x, y, x + d.Width, y + d.Height}); });
}
