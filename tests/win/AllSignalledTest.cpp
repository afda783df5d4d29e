// The wait for the ended client's processes, driven with events: an event that a thread sets late stands for
// a process whose end Windows signals late (under Wine a killed process is gone at once, so it cannot show
// this). What is shown is the order of things, never a duration.
#include "common/AllSignalledWin32.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

// Manual-reset events, so that whether each was set can be read after the wait.
std::vector<KernelHandle> Events(int count)
{
    std::vector<KernelHandle> events;
    for (int i = 0; i < count; ++i)
        events.emplace_back(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    return events;
}

bool IsSet(const KernelHandle& event)
{
    return WaitForSingleObject(event.Get(), 0) == WAIT_OBJECT_0;
}

} // namespace

TEST(WaitUntilAllSignalled, ReturnsOnlyOnceTheLastIsSetInWhicheverGroupItIs)
{
    const struct {
        const char* name;
        int count;
        int setLast;
    } cases[] = {
        {"one", 1, 0},
        {"the first of several groups set last", MAXIMUM_WAIT_OBJECTS + 6, 0},
        {"one of the last group set last", MAXIMUM_WAIT_OBJECTS + 6, MAXIMUM_WAIT_OBJECTS + 5},
        {"a whole group exactly", MAXIMUM_WAIT_OBJECTS, MAXIMUM_WAIT_OBJECTS - 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<KernelHandle> events = Events(c.count);
        std::atomic<bool> lastSet{false};
        std::thread setter([&] {
            for (int i = 0; i < c.count; ++i)
                if (i != c.setLast)
                    SetEvent(events[i].Get());
            Sleep(300);
            lastSet = true;
            SetEvent(events[c.setLast].Get());
        });

        const bool all = WaitUntilAllSignalled(events, 60000);
        const bool lastWasSet = lastSet;

        setter.join();
        EXPECT_TRUE(all);
        EXPECT_TRUE(lastWasSet) << "returned before the last was set";
    }
}

TEST(WaitUntilAllSignalled, OneNeverSetLetsTheCallReturnAtTheBound)
{
    for (int neverSet : {0, MAXIMUM_WAIT_OBJECTS + 1}) {
        SCOPED_TRACE(neverSet);
        const std::vector<KernelHandle> events = Events(MAXIMUM_WAIT_OBJECTS + 2);
        for (int i = 0; i < MAXIMUM_WAIT_OBJECTS + 2; ++i)
            if (i != neverSet)
                SetEvent(events[i].Get());

        EXPECT_FALSE(WaitUntilAllSignalled(events, 200));

        EXPECT_FALSE(IsSet(events[neverSet]));
    }
}

TEST(WaitUntilAllSignalled, NothingToWaitForReturnsAtOnce)
{
    EXPECT_TRUE(WaitUntilAllSignalled({}, INFINITE));
}
