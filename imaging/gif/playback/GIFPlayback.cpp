#include "imaging/gif/playback/GIFPlayback.h"

#include <algorithm>
#include <stdexcept>

#include "imaging/gif/composition/GIFFrameDrawing.h"
#include "imaging/gif/decoding/GIFImage.h"
#include "imaging/surface/PictureRectMath.h"
#include "imaging/surface/SurfaceStretch.h"

namespace {

// Clears a flag when the scope ends, however it ends.
struct FlagScope {
    explicit FlagScope(bool& flag) : flag(flag) { flag = true; }
    ~FlagScope() { flag = false; }
    bool& flag;
};

} // namespace

GIFPlayback::GIFPlayback(TGIFImage& image) : image_(image)
{
    image_.SetListener(this);
}

GIFPlayback::~GIFPlayback()
{
    if (imageEnded_)
        return;
    ImageEnding();
    image_.SetListener(nullptr);
}

void GIFPlayback::ImageEnding()
{
    StopAllPainters();
    DetachAll();
    imageEnded_ = true;
}

void GIFPlayback::SetOptions(PlaybackOptions options)
{
    options_ = options;
    image_.RenderOptions.DitherFrames = options.Has(PlaybackOption::DitherFrames);
    image_.RenderOptions.DitherOnPaletteDisplay = options.Has(PlaybackOption::DitherOnPaletteDisplay);
}

void GIFPlayback::Draw(const PaintCanvas& canvas, const PictureRect& rect)
{
    if (drawing_ || image_.Empty())
        return;
    const FlagScope drawing(drawing_);
    if (image_.Images.Count() == 1 || !options_.Has(PlaybackOption::PlayFrames) || Platform == nullptr) {
        DrawFrame(image_.Images[0], *canvas.Surface, rect, options_.Has(PlaybackOption::UseTransparency),
                  options_.Has(PlaybackOption::TileImage));
        canvas.Changed();
        return;
    }
    if (frameCache_ && !options_.Has(PlaybackOption::PaintOnTarget)) {
        CopyCacheTo(canvas, rect);
        return;
    }
    const std::lock_guard<std::recursive_mutex> lock(lock_);
    if (cachePainter_ != nullptr && cachePainter_->Target().Surface == canvas.Surface &&
        cachePainter_->TargetRect() == rect)
        return; // already at work there
    StopCachePainter();
    StartCachePainter(canvas, rect);
}

void GIFPlayback::StartCachePainter(const PaintCanvas& canvas, const PictureRect& rect)
{
    const bool onTarget = options_.Has(PlaybackOption::PaintOnTarget);
    const PaintCanvas target = onTarget ? canvas : CreateFrameCache(canvas, rect);
    const PictureRect targetRect = onTarget ? rect : PictureRect{0, 0, image_.Width(), image_.Height()};
    TGIFPainter* painter = StartPainter(&cachePainter_, target, targetRect, options_);
    if (painter == nullptr)
        return;
    painter->Launch();
    if (onTarget)
        return;
    WaitForFirstFrame(painter);
    CopyCacheTo(canvas, rect);
}

TGIFPainter* GIFPlayback::StartPainter(TGIFPainter** ownerSlot, const PaintCanvas& canvas, const PictureRect& rect,
                                       PlaybackOptions options)
{
    if (image_.Empty() || RectEmpty(rect)) {
        if (ownerSlot != nullptr)
            *ownerSlot = nullptr;
        return nullptr;
    }
    if (Platform == nullptr)
        throw std::logic_error("A painter needs a playback platform");
    if (image_.Images.Count() == 1)
        options = options.Without(PlaybackOption::Threaded).Without(PlaybackOption::PlayFrames);
    auto painter = std::make_unique<TGIFPainter>(*this, *Platform, canvas, rect, options, ownerSlot);
    {
        const std::lock_guard<std::recursive_mutex> lock(lock_);
        if (ownerSlot != nullptr)
            *ownerSlot = painter.get();
        painters_.push_back(painter.get());
    }
    if (options.Has(PlaybackOption::Threaded)) {
        painter->SetPriority(PainterPriority);
        return painter.release(); // frees itself when its thread ends
    }
    painter->RunPainter();
    const std::exception_ptr error = painter->KeptError();
    painter.reset();
    if (ownerSlot != nullptr)
        *ownerSlot = nullptr;
    if (error)
        std::rethrow_exception(error);
    return nullptr;
}

void GIFPlayback::StopAllPainters()
{
    try {
        for (;;) {
            int threaded = 0;
            {
                const std::lock_guard<std::recursive_mutex> lock(lock_);
                for (auto painter = painters_.rbegin(); painter != painters_.rend(); ++painter) {
                    (*painter)->RequestStop();
                    threaded += (*painter)->Options().Has(PlaybackOption::Threaded) ? 1 : 0;
                }
            }
            if (threaded == 0)
                break;
            RunHandOffs();
        }
    } catch (...) {
        ReleaseFrameCache();
        throw;
    }
    ReleaseFrameCache();
}

void GIFPlayback::StopCachePainter()
{
    for (;;) {
        {
            const std::lock_guard<std::recursive_mutex> lock(lock_);
            if (cachePainter_ == nullptr)
                break;
            cachePainter_->RequestStop();
            if (!cachePainter_->Options().Has(PlaybackOption::Threaded))
                break;
        }
        RunHandOffs();
    }
    ReleaseFrameCache();
}

void GIFPlayback::ReleaseFrameCache()
{
    {
        const std::lock_guard<std::recursive_mutex> lock(lock_);
        if (cachePainter_ != nullptr)
            cachePainter_->RequestStop();
    }
    frameCache_.reset();
}

void GIFPlayback::DetachAll()
{
    const std::lock_guard<std::recursive_mutex> lock(lock_);
    for (TGIFPainter* painter : painters_)
        painter->ForgetImage();
    painters_.clear();
}

void GIFPlayback::RemovePainter(TGIFPainter* painter)
{
    const std::lock_guard<std::recursive_mutex> lock(lock_);
    painters_.erase(std::remove(painters_.begin(), painters_.end(), painter), painters_.end());
}

bool GIFPlayback::Listed(const TGIFPainter* painter)
{
    const std::lock_guard<std::recursive_mutex> lock(lock_);
    return std::find(painters_.begin(), painters_.end(), painter) != painters_.end();
}

// Runs the handed-over steps when on the main thread, and yields when none was pending.
void GIFPlayback::RunHandOffs()
{
    if (!Platform->MainThread.IsMainThread() || !Platform->MainThread.RunPending())
        Platform->Threading.YieldSlice();
}

// Until the painter has left the list (it may be freed then), is terminated or has drawn a frame.
void GIFPlayback::WaitForFirstFrame(const TGIFPainter* painter)
{
    while (Listed(painter) && !painter->Terminated() && !painter->Started())
        RunHandOffs();
}

// A new cache of logical-screen size holding `rect` of the canvas, so that what lies behind the picture
// shows through its transparent pixels; its changes are the image's.
PaintCanvas GIFPlayback::CreateFrameCache(const PaintCanvas& canvas, const PictureRect& rect)
{
    frameCache_ = std::make_unique<PixelSurface>(image_.Width(), image_.Height());
    StretchCopy(*frameCache_, {0, 0, image_.Width(), image_.Height()}, *canvas.Surface, rect);
    image_.Changed();
    return {frameCache_.get(), [this] { image_.Changed(); }, {}};
}

// The cache, made anew from frame 0 (drawn without transparency) when it was released meanwhile.
const PixelSurface& GIFPlayback::EnsureFrameCache()
{
    if (!frameCache_) {
        frameCache_ = std::make_unique<PixelSurface>(image_.Width(), image_.Height());
        DrawFrame(image_.Images[0], *frameCache_, {0, 0, image_.Width(), image_.Height()}, false, false);
        image_.Changed();
    }
    return *frameCache_;
}

void GIFPlayback::CopyCacheTo(const PaintCanvas& canvas, const PictureRect& rect)
{
    const PixelSurface& cache = EnsureFrameCache();
    const PictureRect whole{0, 0, cache.Width(), cache.Height()};
    if (options_.Has(PlaybackOption::TileImage))
        ForEachTile(rect, 0, 0, cache.Width(), cache.Height(),
                    [&](int x, int y) { canvas.Surface->Blit(cache, {0, 0, cache.Width(), cache.Height()}, x, y); });
    else
        StretchCopy(*canvas.Surface, rect, cache, whole);
    canvas.Changed();
}
