#pragma once
// The hand-over to the main thread. A thread other than the main thread queues a step, the wake-up
// callback is invoked (on Windows it posts a message to the hidden application window), and the thread
// blocks until the main thread has run the step in RunPending(); an error raised by the step is rethrown
// in the waiting thread. On the main thread itself a step runs at once.
//
// Decisions:
// - The main thread is the thread that constructs the queue.
// - RunPending() runs the steps queued when it starts, oldest first; a step queued while it runs waits
//   for the next call, so a fast worker cannot keep the main thread in one call forever.
// - Shutdown() closes the queue: steps still waiting are not run, and each waiting thread is released
//   with EHandOverClosed; a later hand-over from another thread raises EHandOverClosed at once. So a
//   worker never stays blocked on a main thread that no longer runs steps. Threads that may be waiting
//   must be released (Shutdown) and joined before the queue is destroyed.
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "imaging/gif/playback/MainThreadHandOver.h"

class MainThreadQueue : public MainThreadHandOver {
public:
    explicit MainThreadQueue(std::function<void()> wakeUp);
    ~MainThreadQueue();
    MainThreadQueue(const MainThreadQueue&) = delete;
    MainThreadQueue& operator=(const MainThreadQueue&) = delete;

    // Runs `step` on the main thread and returns when it has run; rethrows what the step raised.
    void HandOver(const std::function<void()>& step) override;

    // Main thread: runs the steps queued so far. True when at least one step ran.
    bool RunPending() override;

    // True on the thread that constructed the queue.
    bool IsMainThread() const override { return std::this_thread::get_id() == mainThread_; }

    // Releases every waiting thread without running its step and refuses later hand-overs.
    void Shutdown();

private:
    struct Pending;

    std::function<void()> wakeUp_;
    std::thread::id mainThread_;
    std::mutex mutex_;
    std::condition_variable finished_;
    std::deque<Pending*> queue_;
    bool closed_ = false;
};
