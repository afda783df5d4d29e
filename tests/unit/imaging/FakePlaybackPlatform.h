#pragma once
// Test support: a playback platform whose clock moves only when a painter waits or sleeps (by exactly
// the time asked) or when the test advances it, so frame timing is exact and nothing sleeps in real
// time. Painter threads are real; their hand-overs queue on `queue`, which the test (the main thread)
// drains with RunUntil.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "app/MainThreadQueue.h"
#include "imaging/gif/playback/PlaybackPlatform.h"
#include "imaging/gif/playback/StdPainterThreading.h"

class FakePlaybackPlatform : public PlaybackClock, public PainterThreading, public PainterMessagePump {
public:
    static constexpr std::uint32_t WindowColor = 0x00C0C0C0;

    MainThreadQueue queue{[] {}};
    PlaybackPlatform platform{*this, *this, *this, queue, WindowColor};
    int quitAtPump = 0; // the pump meets a quit message on this call (1 = the first); 0: never

    std::uint32_t Now() override { return now_; }
    void Advance(std::uint32_t milliseconds) { now_ += milliseconds; }

    std::unique_ptr<PainterWakeEvent> CreateWakeEvent() override { return std::make_unique<Event>(*this); }
    std::unique_ptr<PainterThread> CreateThread(std::function<void()> body) override
    {
        return threads_.CreateThread(std::move(body));
    }
    void YieldSlice() override { std::this_thread::yield(); }
    void Sleep(int milliseconds) override
    {
        sleeps.push_back(milliseconds);
        now_ += std::uint32_t(milliseconds);
    }
    bool DispatchWaiting(const std::function<bool()>&) override { return ++pumps_ == quitAtPump; }

    // Timed waits on wake events that ran out, in milliseconds.
    std::vector<int> Waits()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return waits_;
    }
    bool WaitingWithoutLimit()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return waitingWithoutLimit_;
    }

    std::vector<int> sleeps; // painters without a thread sleep on the test's thread

    // Runs handed-over steps until `done` holds. Fails instead of hanging when it never does.
    void RunUntil(const std::function<bool()>& done)
    {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!done()) {
            if (!queue.RunPending())
                std::this_thread::yield();
            if (std::chrono::steady_clock::now() > giveUp) {
                ADD_FAILURE() << "playback never reached the expected state";
                return;
            }
        }
    }

private:
    // A time-out passes at once on the fake clock; a wait without limit blocks until the event is set.
    class Event : public PainterWakeEvent {
    public:
        explicit Event(FakePlaybackPlatform& owner) : owner_(owner) {}
        void Set() override
        {
            std::lock_guard<std::mutex> lock(owner_.mutex_);
            signalled_ = true;
            owner_.changed_.notify_all();
        }
        bool Wait(int timeoutMs) override
        {
            std::unique_lock<std::mutex> lock(owner_.mutex_);
            if (!signalled_ && timeoutMs >= 0) {
                owner_.waits_.push_back(timeoutMs);
                owner_.now_ += std::uint32_t(timeoutMs);
                return false;
            }
            if (!signalled_) {
                owner_.waitingWithoutLimit_ = true;
                owner_.changed_.wait(lock, [this] { return signalled_; });
                owner_.waitingWithoutLimit_ = false;
            }
            signalled_ = false;
            return true;
        }

    private:
        FakePlaybackPlatform& owner_;
        bool signalled_ = false;
    };

    std::atomic<std::uint32_t> now_{1000};
    StdPainterThreading threads_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<int> waits_;
    bool waitingWithoutLimit_ = false;
    int pumps_ = 0;
};
