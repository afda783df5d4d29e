#pragma once
// Wake events and painter threads over the standard library. Threads run detached once resumed (a
// painter frees itself when its body ends); their priority is left to the system, as the standard library
// has no portable way to set it.
#include "imaging/gif/playback/PlaybackPlatform.h"

class StdPainterThreading : public PainterThreading {
public:
    std::unique_ptr<PainterWakeEvent> CreateWakeEvent() override;
    std::unique_ptr<PainterThread> CreateThread(std::function<void()> body) override;
    void YieldSlice() override;
    void Sleep(int milliseconds) override;
};
