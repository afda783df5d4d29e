#pragma once
// TGIFPainter: one playback of a GIF's frames onto a target. Its timing runs on a worker thread of its
// own under Threaded (else on the caller's thread, inside the draw call); every step that draws or fires
// an event is handed to the main thread, which owns all drawing, and the worker waits until it has run.
//
// Lifecycle: created suspended and listed in the image's painter list; Launch resumes the thread; the
// body (RunPainter) plays the passes; then Detach runs on the main thread and the painter frees itself
// on its thread. A painter without Threaded is run and freed by StartPainter (GIFPlayback.h).
//
// Decisions:
// - An error that ends a threaded painter is kept and dropped with it; nothing reports it.
// - An error ends the painter at once: OnPlaybackEnd is not fired after it.
// - When the main thread no longer runs handed-over steps (the queue was shut down), the worker runs
//   Detach itself, under the painter list's lock.
// - A frame whose disposal (or, for disposal 3, whose previous disposal) is 4 to 7 is left out by a
//   buffered painter, clearing included, and does not count as the first frame drawn.
// - Palettes are not selected: frames are composed in 32-bit colour.
// - The target surface must outlive the painter's last step that is not cut off by RequestStop; steps
//   handed over after RequestStop do nothing, so the frame cache may be freed right after it.
#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>

#include "imaging/gif/playback/GIFFrameTimer.h"
#include "imaging/gif/playback/PlaybackOptions.h"
#include "imaging/gif/playback/PlaybackPlatform.h"
#include "imaging/surface/PaintCanvas.h"
#include "imaging/surface/Picture.h"

class GIFPlayback;
class TGIFImage;
class TGIFSubImage;
class TGIFPainter;

using TGIFPainterEvent = std::function<void(TGIFPainter& sender)>;

// The image's event hooks, copied by each painter when it is created; each runs on the main thread.
struct TGIFPlaybackHooks {
    TGIFPainterEvent OnPlaybackStart;
    TGIFPainterEvent OnBeforeFrame;
    TGIFPainterEvent OnAfterFrame;
    TGIFPainterEvent OnPassRestart;
    TGIFPainterEvent OnPlaybackEnd;
};

class TGIFPainter {
public:
    // Painter creation, on the main thread: the wake event (Threaded and PlayFrames, more than one
    // frame, speed 0 or more), the backdrop colour, the composition buffers when disposal 2 or 3 is used
    // (or ClearEachPass is set), and under Threaded the suspended thread. `ownerSlot` (may be null) is
    // cleared by Detach while it still names this painter. The painter plays `playback`'s image with its
    // speed, hooks and backdrop colour.
    TGIFPainter(GIFPlayback& playback, const PlaybackPlatform& platform, PaintCanvas target,
                const PictureRect& rect, PlaybackOptions options, TGIFPainter** ownerSlot);
    // A painter without Threaded detaches here.
    ~TGIFPainter();
    TGIFPainter(const TGIFPainter&) = delete;
    TGIFPainter& operator=(const TGIFPainter&) = delete;

    // Resumes the thread under Threaded; nothing otherwise.
    void Launch();
    // Marks the painter terminated; under Threaded also wakes it, sets its priority back to normal and
    // resumes it if it is suspended.
    void RequestStop();
    // The thread body: plays the passes. An error ends the painter and is kept (KeptError).
    void RunPainter();
    // Leaves the image (clearing the owner slot, leaving the painter list) and frees the buffers and the
    // wake event.
    void Detach();
    // The image is going away without this painter having detached.
    void ForgetImage() { image_ = nullptr; }
    void SetPriority(TThreadPriority priority);

    bool Terminated() const { return terminated_; }
    bool Started() const { return started_; }
    // The frame being shown: -1 before the first and after the last. An OnAfterFrame handler may
    // change it to choose the next frame.
    int CurrentFrame() const { return currentFrame_; }
    void SetCurrentFrame(int frame) { currentFrame_ = frame; }
    PlaybackOptions Options() const { return options_; }
    const PaintCanvas& Target() const { return target_; }
    const PictureRect& TargetRect() const { return rect_; }
    std::exception_ptr KeptError() const { return keptError_; }

private:
    struct PassState {
        int remaining = 1; // -1: without end
        int firstFrame = 0;
        bool loopSeen = false;
    };

    bool Has(PlaybackOption option) const { return options_.Has(option); }
    TGIFSubImage& CurrentImage() const;
    bool FrameInRange() const;

    void ThreadBody();
    void Play();
    void PlayPass(PassState& pass, GIFFrameTimer& timer);
    std::uint8_t ReadFrameExtensions(const TGIFSubImage& frame, PassState& pass);
    void WaitForFrame(TGIFSubImage& frame, GIFFrameTimer& timer);
    void PumpingWait(int milliseconds);
    void HandOff(const std::function<void()>& step);
    void Fire(const TGIFPainterEvent& hook);

    // Composition (GIFPainterComposition.cpp), on the main thread.
    void CreateBuffers(bool restoresBackground);
    void PaintFrame();
    void PaintPlain();
    void PaintBuffered();
    void RestoreBackdrop();

    TGIFImage* image_;
    GIFPlayback& playback_;
    const PlaybackPlatform& platform_;
    PaintCanvas target_;
    PictureRect rect_;
    PlaybackOptions options_;
    int speed_;
    TGIFPainter** ownerSlot_;
    TGIFPlaybackHooks hooks_;
    std::uint32_t backdropColor_ = 0;
    std::atomic<int> currentFrame_{-1};
    std::uint8_t disposal_ = 1;
    std::uint8_t previousDisposal_ = 1;
    std::optional<PixelSurface> compositeBuffer_;
    std::optional<PixelSurface> scratchBuffer_;
    std::optional<PixelSurface> backdropCopy_;
    std::function<bool()> targetCheck_;
    std::atomic<bool> started_{false};
    std::atomic<bool> terminated_{false};
    std::unique_ptr<PainterWakeEvent> wakeEvent_;
    std::unique_ptr<PainterThread> thread_;
    std::exception_ptr keptError_;
};
