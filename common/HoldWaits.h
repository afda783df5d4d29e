#pragma once
// The waits that outlast a moment's hold on a file: a virus scanner, the search indexer or a backup tool
// opens a file for a moment without sharing, and an operation on it is refused meanwhile. The operation
// is tried again after growing pauses (15 ms, doubling up to 250 ms), for at most about 3 s per file and
// 10 s in all for the budget's life; once either is spent, the next refusal stands at once. So a file
// held for good costs seconds, not minutes. Which refusals are holds, and the budget of each module, are
// the Windows part's (common/HoldsWin32.h).
#include <atomic>
#include <cstdint>

// The time and the pauses that the waits are taken against.
class HoldClock {
public:
    virtual ~HoldClock() = default;
    // Milliseconds since any fixed moment, never going back.
    virtual std::uint64_t NowMs() = 0;
    virtual void Pause(std::uint32_t milliseconds) = 0;
};

struct HoldBounds {
    std::uint32_t firstPauseMs;
    std::uint32_t longestPauseMs; // each pause doubles the one before, up to this
    std::uint32_t perFileMs;      // from a file's first refusal to its last attempt
    std::uint32_t perBudgetMs;    // all pauses of the budget together
};

extern const HoldBounds kHoldBounds;

// The pauses that one budget grants in all. Any thread may draw on it.
class HoldBudget {
public:
    HoldBudget(HoldClock& clock, const HoldBounds& bounds);
    HoldBudget(const HoldBudget&) = delete;
    HoldBudget& operator=(const HoldBudget&) = delete;

    HoldClock& Clock() const { return clock_; }
    const HoldBounds& Bounds() const { return bounds_; }
    // Takes up to `wanted` milliseconds from what is left; what was taken, 0 once all is spent.
    std::uint32_t Take(std::uint32_t wanted);
    // What has been taken so far.
    std::uint64_t SpentMs() const { return spentMs_.load(); }

private:
    HoldClock& clock_;
    const HoldBounds bounds_;
    std::atomic<std::uint64_t> spentMs_{0};
};

// The waits for one file, from its first refusal on.
class HoldWait {
public:
    explicit HoldWait(HoldBudget& budget);

    // Pauses before the next attempt and returns true; returns false at once, without pausing, once the
    // file's bound or the budget is spent. The last pause is cut so that the last attempt comes at the
    // file's bound.
    bool Pause();

private:
    HoldBudget& budget_;
    const std::uint64_t startMs_;
    std::uint32_t nextPauseMs_;
};

// Runs `attempt` until its result (anything that tests as true on success) is a success, or it fails other
// than by a hold (`heldNow()` false just after the failure), or the waits for it are spent; returns the last
// attempt's result. Nothing is looked at before the first failure.
template <typename Attempt, typename HeldNow>
auto OutlastHolds(HoldBudget& budget, Attempt attempt, HeldNow heldNow) -> decltype(attempt())
{
    auto result = attempt();
    if (result || !heldNow())
        return result;
    HoldWait wait(budget);
    while (wait.Pause()) {
        result = attempt();
        if (result || !heldNow())
            break;
    }
    return result;
}
