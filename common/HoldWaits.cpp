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

HoldWait::HoldWait(HoldBudget& budget) : budget_(budget) {}

HoldWait::Waiting::Waiting(HoldWait& wait) : wait_(wait)
{
    if (wait_.waiting_++ == 0) {
        wait_.startMs_ = wait_.budget_.Clock().NowMs();
        wait_.nextPauseMs_ = wait_.budget_.Bounds().firstPauseMs;
    }
}

HoldWait::Waiting::~Waiting()
{
    if (--wait_.waiting_ == 0)
        wait_.waitedMs_ += wait_.budget_.Clock().NowMs() - wait_.startMs_;
}

bool HoldWait::Waiting::Pause()
{
    HoldBudget& budget = wait_.budget_;
    const HoldBounds& bounds = budget.Bounds();
    const std::uint64_t waited = wait_.waitedMs_ + (budget.Clock().NowMs() - wait_.startMs_);
    if (waited >= bounds.perOperationMs)
        return false;
    const std::uint32_t pause = budget.Take(static_cast<std::uint32_t>(
        std::min<std::uint64_t>(wait_.nextPauseMs_, bounds.perOperationMs - waited)));
    if (pause == 0)
        return false;
    budget.Clock().Pause(pause);
    wait_.nextPauseMs_ = std::min(wait_.nextPauseMs_ * 2, bounds.longestPauseMs);
    return true;
}
