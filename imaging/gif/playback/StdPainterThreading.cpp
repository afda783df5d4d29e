#include "imaging/gif/playback/StdPainterThreading.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

namespace {

class StdWakeEvent : public PainterWakeEvent {
public:
    void Set() override
    {
        std::lock_guard<std::mutex> lock(mutex_);
        signalled_ = true;
        changed_.notify_all();
    }

    bool Wait(int timeoutMs) override
    {
        std::unique_lock<std::mutex> lock(mutex_);
        const auto signalled = [this] { return signalled_; };
        if (timeoutMs < 0)
            changed_.wait(lock, signalled);
        else if (!changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), signalled))
            return false;
        signalled_ = false;
        return true;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool signalled_ = false;
};

class StdPainterThread : public PainterThread {
public:
    explicit StdPainterThread(std::function<void()> body) : body_(std::move(body)) {}

    void Resume() override
    {
        if (!suspended_)
            return;
        suspended_ = false;
        std::thread(std::move(body_)).detach();
    }
    bool Suspended() const override { return suspended_; }
    void SetPriority(TThreadPriority) override {}

private:
    std::function<void()> body_;
    bool suspended_ = true;
};

} // namespace

std::unique_ptr<PainterWakeEvent> StdPainterThreading::CreateWakeEvent()
{
    return std::make_unique<StdWakeEvent>();
}

std::unique_ptr<PainterThread> StdPainterThreading::CreateThread(std::function<void()> body)
{
    return std::make_unique<StdPainterThread>(std::move(body));
}

void StdPainterThreading::YieldSlice()
{
    std::this_thread::yield();
}

void StdPainterThreading::Sleep(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
