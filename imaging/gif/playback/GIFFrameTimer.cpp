#include "imaging/gif/playback/GIFFrameTimer.h"

#include <algorithm>

#include "common/MulDivRounded.h"
#include "imaging/gif/decoding/GIFGraphicControlExtension.h"
#include "imaging/gif/decoding/GIFSubImage.h"
#include "imaging/gif/playback/PlaybackOptions.h"

int FrameDelayUnits(const TGIFSubImage& frame, bool threaded)
{
    const TGIFGraphicControlExtension* control = frame.GraphicControlExtension();
    if (control == nullptr || control->Delay == 0)
        return DefaultFrameDelay;
    const int delay = std::max<int>(control->Delay, MinimumFrameDelay);
    return threaded ? delay : std::min(delay, MaximumFrameDelay);
}

int GIFFrameTimer::Plan(std::uint32_t now, int speed, bool threaded)
{
    if (speed > 0) {
        // The stamps wrap; their difference, less the planned wait, is the overrun (signed).
        const auto overrun = std::int32_t(now - lastStamp_ - std::uint32_t(lastWait_));
        Delay = MulDivRounded(Delay * FrameDelayUnitMs - overrun / 2, 100, speed);
        lastWait_ = Delay;
    } else {
        Delay = threaded ? -1 : MaximumFrameDelay * FrameDelayUnitMs;
    }
    lastStamp_ = now;
    return Delay;
}

void GIFFrameTimer::WokenAt(std::uint32_t now)
{
    lastWait_ = 0;
    lastStamp_ = now;
}
