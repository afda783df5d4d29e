#include "common/HoldWaits.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
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

// The pauses that one file held for good is given, each attempt taking `attemptMs`.
std::vector<std::uint32_t> PausesForAFileHeldForGood(HoldBudget& budget, FakeClock& clock, std::uint32_t attemptMs = 0)
{
    const std::size_t before = clock.pauses.size();
    HoldWait wait(budget);
    while (wait.Pause())
        clock.now += attemptMs;
    return {clock.pauses.begin() + static_cast<std::ptrdiff_t>(before), clock.pauses.end()};
}

} // namespace

TEST(HoldWait, PausesGrowToTheLongestAndTheLastAttemptComesAtTheFilesBound)
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

TEST(HoldWait, TheAttemptsTimeCountsTowardsTheFilesBound)
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

// Files held for good spend the budget: the fourth gets what is left, the fifth fails at once.
TEST(HoldWait, TheBudgetIsSharedByEveryFileAndOnceSpentNothingIsWaitedFor)
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
        ScriptedOperation operation{c.holds, c.finally};

        const bool result = OutlastHolds(budget, [&] { return operation.Attempt(); }, [&] { return operation.held; });

        EXPECT_EQ(result, c.result);
        EXPECT_EQ(operation.attempts, c.attempts);
        EXPECT_EQ(clock.pauses.size(), c.pauses);
    }
}

TEST(OutlastHolds, AFileHeldForGoodFailsWithItsLastAttemptAtTheBound)
{
    FakeClock clock;
    HoldBudget budget(clock, kHoldBounds);
    ScriptedOperation operation{1000000, true};
    const std::uint64_t start = clock.now;

    EXPECT_FALSE(OutlastHolds(budget, [&] { return operation.Attempt(); }, [&] { return operation.held; }));

    EXPECT_EQ(clock.now - start, 3000u);
    EXPECT_EQ(static_cast<std::size_t>(operation.attempts), clock.pauses.size() + 1);
}
