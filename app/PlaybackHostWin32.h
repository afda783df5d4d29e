#pragma once
// The playback platform of the program's animated pictures: the multimedia timer's clock, painter
// threads of the standard library (their priority is left to the system), the calling thread's message
// queue for painters without a thread, and the application's hand-over to the main thread. Windows only.
#include "app/Application.h"
#include "imaging/gif/playback/PlaybackPlatform.h"
#include "imaging/gif/playback/StdPainterThreading.h"

class PlaybackHost : public PlaybackClock, public PainterMessagePump {
public:
    explicit PlaybackHost(Application& application);
    PlaybackHost(const PlaybackHost&) = delete;
    PlaybackHost& operator=(const PlaybackHost&) = delete;

    const PlaybackPlatform& Platform() const { return platform_; }

    std::uint32_t Now() override;
    bool DispatchWaiting(const std::function<bool()>& stop) override;

private:
    StdPainterThreading threading_;
    PlaybackPlatform platform_;
};
