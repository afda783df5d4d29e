#include "app/MainThreadQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

// A queue whose wake-up counts the hand-overs announced, so the test (the main thread) can wait until a
// worker has queued its step and is blocked on it.
class MainThreadQueueTest : public testing::Test {
protected:
    MainThreadQueue queue{[this] { Wake(); }};

    void WaitForWakeUps(int count)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        woken_.wait(lock, [&] { return wakeUps_ >= count; });
    }

    int WakeUps()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return wakeUps_;
    }

    // Starts a worker that hands `step` over; what the hand-over raised ends up in `error`.
    std::thread Worker(std::function<void()> step, std::string& error)
    {
        return std::thread([this, step, &error] {
            try {
                queue.HandOver(step);
            } catch (const std::exception& e) {
                error = e.what();
            }
        });
    }

private:
    void Wake()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++wakeUps_;
        woken_.notify_all();
    }

    std::mutex mutex_;
    std::condition_variable woken_;
    int wakeUps_ = 0;
};

} // namespace

TEST_F(MainThreadQueueTest, WorkerBlocksUntilTheMainThreadRunsItsStep)
{
    std::thread::id ranOn;
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        queue.HandOver([&] { ranOn = std::this_thread::get_id(); });
        returned = true;
    });
    WaitForWakeUps(1);
    EXPECT_FALSE(returned);
    EXPECT_TRUE(queue.RunPending());
    worker.join();
    EXPECT_TRUE(returned);
    EXPECT_EQ(ranOn, std::this_thread::get_id());
    EXPECT_FALSE(queue.RunPending());
}

TEST_F(MainThreadQueueTest, AnErrorOfTheStepIsRaisedInTheWaitingThread)
{
    bool caughtAsWriteError = false;
    std::thread worker([&] {
        try {
            queue.HandOver([] { throw EWriteError(); });
        } catch (const EWriteError& e) {
            caughtAsWriteError = std::string(e.what()) == "Stream write error";
        }
    });
    WaitForWakeUps(1);
    EXPECT_TRUE(queue.RunPending());
    worker.join();
    EXPECT_TRUE(caughtAsWriteError);
}

TEST_F(MainThreadQueueTest, StepsRunOldestFirst)
{
    std::vector<int> order;
    std::vector<std::thread> workers;
    std::string errors[3];
    for (int i = 0; i < 3; ++i) {
        workers.push_back(Worker([&order, i] { order.push_back(i); }, errors[i]));
        WaitForWakeUps(i + 1);
    }
    EXPECT_TRUE(queue.RunPending());
    for (auto& worker : workers)
        worker.join();
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
}

TEST_F(MainThreadQueueTest, AStepQueuedWhileRunningWaitsForTheNextCall)
{
    std::vector<std::string> ran;
    std::string errors[2];
    std::thread second;
    std::thread first = Worker(
        [&] {
            ran.push_back("first");
            second = Worker([&] { ran.push_back("second"); }, errors[1]);
            WaitForWakeUps(2);
        },
        errors[0]);
    WaitForWakeUps(1);
    EXPECT_TRUE(queue.RunPending());
    EXPECT_EQ(ran, (std::vector<std::string>{"first"}));
    EXPECT_TRUE(queue.RunPending());
    first.join();
    second.join();
    EXPECT_EQ(ran, (std::vector<std::string>{"first", "second"}));
}

TEST_F(MainThreadQueueTest, OnTheMainThreadAStepRunsAtOnceWithoutWakeUp)
{
    bool ran = false;
    queue.HandOver([&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_THROW(queue.HandOver([] { throw EReadError(); }), EReadError);
    EXPECT_EQ(WakeUps(), 0);
    EXPECT_FALSE(queue.RunPending());
}

TEST_F(MainThreadQueueTest, ShutdownReleasesWaitingThreadsAndRefusesLaterHandOvers)
{
    bool ran = false;
    std::string waitingError;
    std::string laterError;
    std::thread waiting = Worker([&] { ran = true; }, waitingError);
    WaitForWakeUps(1);
    queue.Shutdown();
    waiting.join();
    Worker([&] { ran = true; }, laterError).join();
    EXPECT_FALSE(ran);
    EXPECT_EQ(waitingError, "The main thread no longer runs handed-over steps");
    EXPECT_EQ(laterError, waitingError);
    EXPECT_FALSE(queue.RunPending());
}
