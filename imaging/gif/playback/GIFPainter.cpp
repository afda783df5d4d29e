#include "imaging/gif/playback/GIFPainter.h"

#include <algorithm>
#include <array>
#include <mutex>

#include "imaging/gif/decoding/GIFAppExtNSLoop.h"
#include "imaging/gif/decoding/GIFGraphicControlExtension.h"
#include "imaging/gif/decoding/GIFImage.h"
#include "imaging/gif/playback/GIFPlayback.h"

namespace {

constexpr int PumpStepMs = 100;

// Given BackdropColor, else the global table's colour at the background index, else the window colour.
std::uint32_t BackdropColorOf(const GIFPlayback& playback, std::uint32_t windowColor)
{
    const TGIFImage& image = playback.Image();
    if (playback.BackdropColor)
        return *playback.BackdropColor;
    if (image.Header.ColorMap.Count() > 0)
        return image.BackgroundColor();
    return windowColor;
}

// The disposal methods that the frames' graphic control extensions use; ClearEachPass adds method 2.
std::array<bool, 8> DisposalsUsed(const TGIFImage& image, PlaybackOptions options)
{
    std::array<bool, 8> used{};
    for (std::size_t i = 0; i < image.Images.Count(); ++i)
        if (const TGIFGraphicControlExtension* control = image.Images[i].GraphicControlExtension())
            used[control->Disposal()] = true;
    if (options.Has(PlaybackOption::ClearEachPass))
        used[2] = true;
    return used;
}

} // namespace

TGIFPainter::TGIFPainter(GIFPlayback& playback, const PlaybackPlatform& platform, PaintCanvas target,
                         const PictureRect& rect, PlaybackOptions options, TGIFPainter** ownerSlot)
    : image_(&playback.Image()), playback_(playback), platform_(platform), target_(std::move(target)), rect_(rect),
      options_(options), speed_(playback.SpeedPercent), ownerSlot_(ownerSlot), hooks_(playback.Hooks)
{
    if (Has(PlaybackOption::Threaded) && Has(PlaybackOption::PlayFrames) && image_->Images.Count() > 1 &&
        speed_ >= 0)
        wakeEvent_ = platform_.Threading.CreateWakeEvent();
    backdropColor_ = BackdropColorOf(playback, platform_.WindowColor);
    const std::array<bool, 8> used = DisposalsUsed(*image_, options_);
    if (used[2] || used[3])
        CreateBuffers(used[2]);
    if (Has(PlaybackOption::Threaded))
        thread_ = platform_.Threading.CreateThread([this] {
            ThreadBody();
            delete this;
        });
}

TGIFPainter::~TGIFPainter()
{
    if (!Has(PlaybackOption::Threaded))
        Detach();
}

void TGIFPainter::Launch()
{
    if (Has(PlaybackOption::Threaded))
        thread_->Resume();
}

void TGIFPainter::RequestStop()
{
    terminated_ = true;
    if (!Has(PlaybackOption::Threaded))
        return;
    if (wakeEvent_)
        wakeEvent_->Set();
    thread_->SetPriority(TThreadPriority::Normal);
    if (thread_->Suspended())
        thread_->Resume();
}

void TGIFPainter::SetPriority(TThreadPriority priority)
{
    if (thread_)
        thread_->SetPriority(priority);
}

void TGIFPainter::Detach()
{
    if (image_ != nullptr) {
        {
            std::lock_guard<std::recursive_mutex> lock(playback_.PainterLock());
            if (ownerSlot_ != nullptr && *ownerSlot_ == this)
                *ownerSlot_ = nullptr;
        }
        playback_.RemovePainter(this);
        image_ = nullptr;
    }
    compositeBuffer_.reset();
    scratchBuffer_.reset();
    backdropCopy_.reset();
    wakeEvent_.reset();
}

void TGIFPainter::ThreadBody()
{
    RunPainter();
    try {
        platform_.MainThread.HandOver([this] { Detach(); });
    } catch (const EHandOverClosed&) {
        Detach();
    }
}

void TGIFPainter::RunPainter()
{
    try {
        Play();
    } catch (...) {
        terminated_ = true;
        keptError_ = std::current_exception();
    }
}

TGIFSubImage& TGIFPainter::CurrentImage() const
{
    return image_->Images[std::size_t(currentFrame_)];
}

bool TGIFPainter::FrameInRange() const
{
    return currentFrame_ >= 0 && std::size_t(currentFrame_) < image_->Images.Count();
}

void TGIFPainter::Play()
{
    if (Has(PlaybackOption::VerifyTarget))
        targetCheck_ = target_.Valid;
    currentFrame_ = 0;
    Fire(hooks_.OnPlaybackStart);
    started_ = false;
    PassState pass;
    previousDisposal_ = 1;
    GIFFrameTimer timer(Has(PlaybackOption::Threaded) ? 0 : 1, platform_.Clock.Now());
    while ((pass.remaining != 0 || Has(PlaybackOption::RepeatForever)) && !Terminated()) {
        currentFrame_ = pass.firstFrame;
        if (started_)
            Fire(hooks_.OnPassRestart);
        PlayPass(pass, timer);
        if (pass.remaining > 0)
            --pass.remaining;
        if (!Has(PlaybackOption::PlayFrames) || !Has(PlaybackOption::RepeatPasses))
            break;
    }
    currentFrame_ = -1;
    Fire(hooks_.OnPlaybackEnd);
}

// The frame loop of one pass. An empty frame ends the pass.
void TGIFPainter::PlayPass(PassState& pass, GIFFrameTimer& timer)
{
    while (!Terminated() && FrameInRange()) {
        TGIFSubImage& frame = CurrentImage();
        if (frame.Empty())
            return;
        WaitForFrame(frame, timer);
        if (Terminated())
            return;
        Fire(hooks_.OnBeforeFrame);
        if (Terminated() || !FrameInRange())
            return;
        TGIFSubImage& shown = CurrentImage();
        disposal_ = ReadFrameExtensions(shown, pass);
        HandOff([this] { PaintFrame(); });
        previousDisposal_ = disposal_;
        if (Terminated())
            return;
        timer.Delay = FrameDelayUnits(shown, Has(PlaybackOption::Threaded));
        const int noted = currentFrame_;
        Fire(hooks_.OnAfterFrame);
        if (Terminated())
            return;
        if (currentFrame_ == noted)
            ++currentFrame_;
        if (!Has(PlaybackOption::PlayFrames))
            return;
    }
}

// The frame's disposal (the last graphic control extension's, else 1). The first loop extension of the
// run sets the passes left (without end for a count of 0 or RepeatForever, under Threaded only) and
// makes this frame the start of every later pass.
std::uint8_t TGIFPainter::ReadFrameExtensions(const TGIFSubImage& frame, PassState& pass)
{
    std::uint8_t disposal = 1;
    for (const auto& extension : frame.Extensions()) {
        if (const auto* loop = dynamic_cast<const TGIFAppExtNSLoop*>(extension.get())) {
            if (pass.loopSeen)
                continue;
            pass.loopSeen = true;
            pass.remaining = loop->Loops;
            if ((loop->Loops == 0 || Has(PlaybackOption::RepeatForever)) && Has(PlaybackOption::Threaded))
                pass.remaining = -1;
            pass.firstFrame = currentFrame_;
        } else if (const auto* control = dynamic_cast<const TGIFGraphicControlExtension*>(extension.get())) {
            disposal = control->Disposal();
        }
    }
    return disposal;
}

// The wait before a frame. The frame is rendered first, here, so that the main thread only copies it.
void TGIFPainter::WaitForFrame(TGIFSubImage& frame, GIFFrameTimer& timer)
{
    if (timer.Delay <= 0) {
        platform_.Threading.YieldSlice();
        return;
    }
    frame.FrameBitmap();
    const bool threaded = Has(PlaybackOption::Threaded);
    const int wait = timer.Plan(platform_.Clock.Now(), speed_, threaded);
    if (!threaded)
        PumpingWait(wait);
    else if ((wait > 0 || speed_ == 0) && wakeEvent_->Wait(wait))
        timer.WokenAt(platform_.Clock.Now());
}

// Sleeps in steps of at most 100 ms, dispatching the caller's messages after each; a quit message
// (posted again by the pump) ends the painter.
void TGIFPainter::PumpingWait(int milliseconds)
{
    int left = std::max(milliseconds, 1);
    std::uint32_t since = platform_.Clock.Now();
    while (left > 0 && !Terminated()) {
        platform_.Threading.Sleep(std::min(left, PumpStepMs));
        const std::uint32_t now = platform_.Clock.Now();
        left -= int(now - since);
        since = now;
        if (platform_.Pump.DispatchWaiting([this] { return Terminated(); }))
            terminated_ = true;
    }
}

// Runs `step` on the main thread (directly without Threaded); nothing once the painter is terminated,
// checked again where the step runs.
void TGIFPainter::HandOff(const std::function<void()>& step)
{
    if (Terminated())
        return;
    const std::function<void()> guarded = [&] {
        if (!Terminated())
            step();
    };
    if (Has(PlaybackOption::Threaded))
        platform_.MainThread.HandOver(guarded);
    else
        guarded();
}

void TGIFPainter::Fire(const TGIFPainterEvent& hook)
{
    if (hook)
        HandOff([&] { hook(*this); });
}
