#pragma once
// The waits that outlast a moment's hold on a file: a virus scanner, the search indexer or a backup tool
// opens a file for a moment without sharing, and an operation on it is refused meanwhile. The operation
// is tried again after growing pauses (15 ms, doubling up to 250 ms), for at most about 3 s per operation
// on files (an entry's install: its staged source, our temporary and its target alike) and 10 s in all for
// the budget's life; once either is spent, the next refusal stands at once. So a file held for good costs
// seconds, not minutes. Which refusals are holds, what one operation is, and the budget of each module,
// are the Windows part's (common/HoldsWin32.h).
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
    std::uint32_t perOperationMs; // one operation's waiting in all: from each refusal to the last attempt after it
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

// The waits of one operation on files, however many files and calls it has. A call refused by a hold waits
// within it (Waiting); the time from that refusal to the call's last attempt counts towards the
// operation's bound, while what the operation does between its calls does not. Calls made while another
// waits (one step within another) wait within that one's time.
class HoldWait {
public:
    explicit HoldWait(HoldBudget& budget);
    HoldWait(const HoldWait&) = delete;
    HoldWait& operator=(const HoldWait&) = delete;

    HoldBudget& Budget() const { return budget_; }

    // One call's waiting, from its first refusal to its last attempt, the pauses again from the first.
    class Waiting {
    public:
        explicit Waiting(HoldWait& wait);
        Waiting(const Waiting&) = delete;
        Waiting& operator=(const Waiting&) = delete;
        ~Waiting();

        // Pauses before the next attempt and returns true; returns false at once, without pausing, once the
        // operation's bound or the budget is spent. The last pause is cut so that the last attempt comes at
        // the bound.
        bool Pause();

    private:
        HoldWait& wait_;
    };

private:
    HoldBudget& budget_;
    std::uint64_t waitedMs_ = 0; // by the calls that have ended their waiting
    std::uint64_t startMs_ = 0;  // when the waiting under way began
    unsigned waiting_ = 0;       // the calls waiting now, one within another
    std::uint32_t nextPauseMs_ = 0;
};

// Runs `attempt` until its result (anything that tests as true on success) is a success, or it fails other
// than by a hold (`heldNow()` false just after the failure), or the operation's waits are spent; returns the
// last attempt's result. Nothing is looked at before the first failure.
template <typename Attempt, typename HeldNow>
auto OutlastHolds(HoldWait& operation, Attempt attempt, HeldNow heldNow) -> decltype(attempt())
{
    auto result = attempt();
    if (result || !heldNow())
        return result;
    HoldWait::Waiting waiting(operation);
    while (waiting.Pause()) {
        result = attempt();
        if (result || !heldNow())
            break;
    }
    return result;
}
