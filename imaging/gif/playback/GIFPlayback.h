#pragma once
// The playback of a TGIFImage, listening to it (GIFImageListener): its options and settings, the frame
// cache that a playing painter composes into, the painters at work, and the draw operation that decides
// between a still frame, a copy of the cache and a new painter.
//
// States: idle (no cache, no painter) -> playing (cache and a live cache painter, after the first draw
// of an animated image) -> finished (cache, no painter: repaints keep showing the last picture). Any
// stop operation returns to idle.
//
// Decisions:
// - An image without a playback platform (Platform unset) is shown still, as with PlayFrames off.
// - Stretching (the cache onto a canvas rectangle of another size, a canvas rectangle into the cache)
//   is by nearest pixel.
// - The image must not be destroyed from inside its own draw call (an event hook or a message pumped
//   by a painter without Threaded).
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "imaging/gif/decoding/GIFImageListener.h"
#include "imaging/gif/playback/GIFPainter.h"
#include "imaging/gif/playback/PlaybackOptions.h"
#include "imaging/gif/playback/PlaybackPlatform.h"
#include "imaging/surface/PaintCanvas.h"
#include "imaging/surface/Picture.h"
#include "imaging/surface/PixelSurface.h"

class TGIFImage;

class GIFPlayback : public GIFImageListener {
public:
    // Becomes the image's listener.
    explicit GIFPlayback(TGIFImage& image);
    // Unless the image has ended already: stops every painter, makes those still listed forget the
    // image and stops listening.
    ~GIFPlayback();
    GIFPlayback(const GIFPlayback&) = delete;
    GIFPlayback& operator=(const GIFPlayback&) = delete;

    const PlaybackPlatform* Platform = nullptr;
    std::int32_t SpeedPercent = DefaultSpeedPercent;
    TThreadPriority PainterPriority = TThreadPriority::Normal;
    std::optional<std::uint32_t> BackdropColor; // red + green * 256 + blue * 65536; unset: none
    TGIFPlaybackHooks Hooks;                    // unset: no events

    TGIFImage& Image() const { return image_; }
    PlaybackOptions Options() const { return options_; }
    // Also decides how frames are rendered (DitherFrames, DitherOnPaletteDisplay).
    void SetOptions(PlaybackOptions options);

    // The draw operation (main thread): nothing while it runs already or without frames; a single frame
    // or PlayFrames off draws frame 0; an existing cache (without PaintOnTarget) is copied; otherwise
    // the cache painter is replaced by a new one, which under Threaded is launched and, without
    // PaintOnTarget, waited for until it has drawn its first frame (or is gone), running handed-over
    // steps meanwhile; then the cache is copied onto the canvas.
    void Draw(const PaintCanvas& canvas, const PictureRect& rect);

    // A painter of `options` onto `rect` of `canvas`, listed, with the image's hooks; `ownerSlot` (may
    // be null) receives it. Under Threaded it is returned suspended; otherwise it runs to its end here,
    // is freed (raising its kept error, if any) and none is returned. None for an empty image or rect.
    TGIFPainter* StartPainter(TGIFPainter** ownerSlot, const PaintCanvas& canvas, const PictureRect& rect,
                              PlaybackOptions options);
    // Stops every painter and, on the main thread, runs handed-over steps until the threaded ones have
    // detached; then releases the frame cache (also on error).
    void StopAllPainters();
    // The same for the cache painter alone.
    void StopCachePainter();
    // Asks the cache painter to stop, without waiting, and frees the frame cache.
    void ReleaseFrameCache();
    // The image is going away: painters still listed forget it.
    void DetachAll();

    // The image's notices: clearing stops all painters, a new frame releases the frame cache, the
    // image's end stops every painter and makes those still listed forget it.
    void FramesClearing() override { StopAllPainters(); }
    void FrameAdding() override { ReleaseFrameCache(); }
    void ImageEnding() override;

    const PixelSurface* FrameCache() const { return frameCache_.get(); }
    TGIFPainter* CachePainter() const { return cachePainter_; }
    bool Drawing() const { return drawing_; }

    // The painter list's lock (re-entrant: waiting loops run Detach on the thread that holds it).
    std::recursive_mutex& PainterLock() { return lock_; }
    void RemovePainter(TGIFPainter* painter);

private:
    bool Listed(const TGIFPainter* painter);
    void StartCachePainter(const PaintCanvas& canvas, const PictureRect& rect);
    void WaitForFirstFrame(const TGIFPainter* painter);
    PaintCanvas CreateFrameCache(const PaintCanvas& canvas, const PictureRect& rect);
    const PixelSurface& EnsureFrameCache();
    void CopyCacheTo(const PaintCanvas& canvas, const PictureRect& rect);
    void RunHandOffs();

    TGIFImage& image_;
    PlaybackOptions options_ = DefaultPlaybackOptions;
    std::unique_ptr<PixelSurface> frameCache_;
    TGIFPainter* cachePainter_ = nullptr;
    std::vector<TGIFPainter*> painters_;
    std::recursive_mutex lock_;
    bool drawing_ = false;
    bool imageEnded_ = false;
};
