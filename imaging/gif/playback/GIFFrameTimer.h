#pragma once
// The timing of a painter's frames: the delay that follows a frame, and the wait planned before the
// next one, which gives back half of the time by which the previous interval overran its plan.
#include <cstdint>

class TGIFSubImage;

// Units to wait after `frame`: DefaultFrameDelay without a graphic control extension or with a stored
// delay of 0; else the stored delay raised to MinimumFrameDelay and, without a thread, lowered to
// MaximumFrameDelay.
int FrameDelayUnits(const TGIFSubImage& frame, bool threaded);

class GIFFrameTimer {
public:
    // `initialDelay` in units; `now` is the first stamp.
    GIFFrameTimer(int initialDelay, std::uint32_t now) : Delay(initialDelay), lastStamp_(now) {}

    // The working delay: units after a frame, milliseconds once planned. 0 or less: no wait.
    int Delay;

    // Turns Delay into the milliseconds to wait, measured at `now`. Speed above 0: Delay * 12 less half
    // of the last overrun, scaled by 100 / speed. Otherwise -1 (without limit) with a thread, else
    // MaximumFrameDelay * FrameDelayUnitMs. Returns the new Delay.
    int Plan(std::uint32_t now, int speed, bool threaded);
    // The wait was cut short by the wake event: the overrun is forgotten.
    void WokenAt(std::uint32_t now);

private:
    std::uint32_t lastStamp_;
    int lastWait_ = 0;
};
