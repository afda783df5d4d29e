#include "common/HoldWaits.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <utility>
#include <vector>

namespace {

// A clock that moves only when paused or told to, and remembers every pause.
class FakeClock : public HoldClock {
public:
    std::uint64_t NowMs() override { return now; }
    void Pause(std::uint32_t milliseconds) override
    {
        pauses.push_back(milliseconds);
        now += milliseconds;
    }

    std::uint64_t now = 1000;
    std::vector<std::uint32_t> pauses;
};

std::uint64_t Sum(const std::vector<std::uint32_t>& pauses)
{
    return std::accumulate(pauses.begin(), pauses.end(), std::uint64_t{0});
}

// The pauses that one operation on a file held for good is given, each attempt taking `attemptMs`.
std::vector<std::uint32_t> PausesForAFileHeldForGood(HoldBudget& budget, FakeClock& clock, std::uint32_t attemptMs = 0)
{
    const std::size_t before = clock.pauses.size();
    HoldWait operation(budget);
    HoldWait::Waiting waiting(operation);
    while (waiting.Pause())
        clock.now += attemptMs;
    return {clock.pauses.begin() + static_cast<std::ptrdiff_t>(before), clock.pauses.end()};
}

} // namespace

TEST(HoldWait, PausesGrowToTheLongestAndTheLastAttemptComesAtTheOperationsBound)
{
    FakeClock clock;
    HoldBudget budget(clock, kHoldBounds);
    const std::vector<std::uint32_t> pauses = PausesForAFileHeldForGood(budget, clock);
    ASSERT_GE(pauses.size(), 7u);
    EXPECT_EQ(std::vector<std::uint32_t>(pauses.begin(), pauses.begin() + 7),
              (std::vector<std::uint32_t>{15, 30, 60, 120, 240, 250, 250}));
    for (std::uint32_t pause : pauses)
        EXPECT_LE(pause, 250u);
    EXPECT_EQ(Sum(pauses), 3000u);
}

TEST(HoldWait, TheAttemptsTimeCountsTowardsTheOperationsBound)
{
    FakeClock clock;
    HoldBudget budget(clock, kHoldBounds);
    const std::uint64_t start = clock.now;
    const std::vector<std::uint32_t> pauses = PausesForAFileHeldForGood(budget, clock, 400);
    ASSERT_FALSE(pauses.empty());
    EXPECT_LE(Sum(pauses) + 400u * (pauses.size() - 1), 3000u) << "the last attempt begins by the bound";
    EXPECT_GE(clock.now - start, 3000u) << "given up only once the bound is reached";
    EXPECT_LT(pauses.size(), 10u) << "fewer pauses than without the attempts' time";
}

// Operations on files held for good spend the budget: the fourth gets what is left, the fifth fails at once.
TEST(HoldWait, TheBudgetIsSharedByEveryOperationAndOnceSpentNothingIsWaitedFor)
{
    FakeClock clock;
    HoldBudget budget(clock, kHoldBounds);
    const std::uint64_t expected[] = {3000, 3000, 3000, 1000, 0, 0};
    for (std::uint64_t each : expected)
        EXPECT_EQ(Sum(PausesForAFileHeldForGood(budget, clock)), each);
    EXPECT_EQ(Sum(clock.pauses), 10000u);
    EXPECT_EQ(budget.SpentMs(), 10000u);
}

namespace {

// An operation that fails `holds` times by a hold, then ends as `finally` says; counts its attempts.
struct ScriptedOperation {
    int holds;
    bool finally; // true: succeeds; false: fails by something that is no hold
    int attempts = 0;
    bool held = false;

    bool Attempt()
    {
        ++attempts;
        held = attempts <= holds;
        return !held && finally;
    }
};

} // namespace

TEST(OutlastHolds, TriesAgainOnlyWhileHeldAndGivesTheLastResult)
{
    const struct {
        const char* name;
        int holds;
        bool finally;
        bool result;
        int attempts;
        std::size_t pauses;
    } cases[] = {
        {"nothing held: one attempt, nothing looked at", 0, true, true, 1, 0},
        {"refused for good, not by a hold: at once", 0, false, false, 1, 0},
        {"held for a moment, then free", 5, true, true, 6, 5},
        {"held, then refused by something else: at once", 3, false, false, 4, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeClock clock;
        HoldBudget budget(clock, kHoldBounds);
        HoldWait wait(budget);
        ScriptedOperation operation{c.holds, c.finally};

        const bool result = OutlastHolds(wait, [&] { return operation.Attempt(); }, [&] { return operation.held; });

        EXPECT_EQ(result, c.result);
        EXPECT_EQ(operation.attempts, c.attempts);
        EXPECT_EQ(clock.pauses.size(), c.pauses);
    }
}

TEST(OutlastHolds, AFileHeldForGoodFailsWithItsLastAttemptAtTheBound)
{
    FakeClock clock;
    HoldBudget budget(clock, kHoldBounds);
    HoldWait wait(budget);
    ScriptedOperation operation{1000000, true};
    const std::uint64_t start = clock.now;

    EXPECT_FALSE(OutlastHolds(wait, [&] { return operation.Attempt(); }, [&] { return operation.held; }));

    EXPECT_EQ(clock.now - start, 3000u);
    EXPECT_EQ(static_cast<std::size_t>(operation.attempts), clock.pauses.size() + 1);
}

namespace {

// A file that another program holds until the clock reaches `freeAt`.
struct HeldFile {
    FakeClock& clock;
    std::uint64_t freeAt;
    bool held = false;

    bool Attempt()
    {
        held = clock.now < freeAt;
        return !held;
    }
};

} // namespace

// One copy whose staged source, our temporary and its target are each held for 2.5 s as the copy reaches
// them, with the copy's own work between: the three wait 3 s in all, not 2.5 s each. The source is waited
// for; the temporary's wait ends at the bound, a failure; a third call would fail at once.
TEST(OutlastHolds, TheCallsOfOneOperationWaitWithinOneBound)
{
    FakeClock clock;
    HoldBudget budget(clock, kHoldBounds);
    HoldWait operation(budget);
    const std::uint64_t start = clock.now;
    const auto reach = [&](std::uint64_t workMs) {
        clock.now += workMs;
        HeldFile file{clock, clock.now + 2500};
        return OutlastHolds(operation, [&] { return file.Attempt(); }, [&] { return file.held; });
    };

    EXPECT_TRUE(reach(0)) << "the source";
    EXPECT_FALSE(reach(5000)) << "our temporary, after the bytes are copied";
    const std::size_t pauses = clock.pauses.size();
    EXPECT_FALSE(reach(10)) << "the target";
    EXPECT_EQ(clock.pauses.size(), pauses) << "nothing more is waited for";
    EXPECT_EQ(Sum(clock.pauses), 3000u);
    EXPECT_EQ(clock.now - start, 5010u + 3000u);
}

// A call made while another waits (a step within a step that is tried again) waits within that one's
// time, counted once: a file held for good afterwards gets what is left of the bound.
TEST(OutlastHolds, ACallWithinAWaitingCallCountsOnce)
{
    FakeClock clock;
    HoldBudget budget(clock, kHoldBounds);
    HoldWait operation(budget);
    bool first = true;
    bool held = false;
    const auto outer = [&] {
        if (std::exchange(first, false)) {
            held = true;
            return false;
        }
        HeldFile inner{clock, clock.now + 1000};
        const bool done = OutlastHolds(operation, [&] { return inner.Attempt(); }, [&] { return inner.held; });
        held = inner.held;
        return done;
    };
    HeldFile forGood{clock, UINT64_MAX};

    EXPECT_TRUE(OutlastHolds(operation, outer, [&] { return held; }));
    EXPECT_FALSE(OutlastHolds(operation, [&] { return forGood.Attempt(); }, [&] { return forGood.held; }));
    EXPECT_EQ(Sum(clock.pauses), 3000u);
}
