#include "common/HoldWaits.h"

#include <algorithm>

const HoldBounds kHoldBounds = {15, 250, 3000, 10000};

HoldBudget::HoldBudget(HoldClock& clock, const HoldBounds& bounds) : clock_(clock), bounds_(bounds) {}

std::uint32_t HoldBudget::Take(std::uint32_t wanted)
{
    std::uint64_t spent = spentMs_.load();
    for (;;) {
        const std::uint64_t left = bounds_.perBudgetMs > spent ? bounds_.perBudgetMs - spent : 0;
        const auto taken = static_cast<std::uint32_t>(std::min<std::uint64_t>(wanted, left));
        if (taken == 0 || spentMs_.compare_exchange_weak(spent, spent + taken))
            return taken;
    }
}

HoldWait::HoldWait(HoldBudget& budget)
    : budget_(budget), startMs_(budget.Clock().NowMs()), nextPauseMs_(budget.Bounds().firstPauseMs)
{
}

bool HoldWait::Pause()
{
    const HoldBounds& bounds = budget_.Bounds();
    const std::uint64_t elapsed = budget_.Clock().NowMs() - startMs_;
    if (elapsed >= bounds.perFileMs)
        return false;
    const std::uint32_t pause = budget_.Take(static_cast<std::uint32_t>(
        std::min<std::uint64_t>(nextPauseMs_, bounds.perFileMs - elapsed)));
    if (pause == 0)
        return false;
    budget_.Clock().Pause(pause);
    nextPauseMs_ = std::min(nextPauseMs_ * 2, bounds.longestPauseMs);
    return true;
}
