#include "app/MainThreadQueue.h"

#include <exception>
#include <utility>

struct MainThreadQueue::Pending {
    const std::function<void()>& step;
    std::exception_ptr error;
    bool done = false;
};

MainThreadQueue::MainThreadQueue(std::function<void()> wakeUp)
    : wakeUp_(std::move(wakeUp)), mainThread_(std::this_thread::get_id())
{
}

MainThreadQueue::~MainThreadQueue()
{
    Shutdown();
}

void MainThreadQueue::HandOver(const std::function<void()>& step)
{
    if (std::this_thread::get_id() == mainThread_) {
        step();
        return;
    }
    Pending pending{step, nullptr, false};
    std::unique_lock<std::mutex> lock(mutex_);
    if (closed_)
        throw EHandOverClosed();
    queue_.push_back(&pending);
    lock.unlock();
    wakeUp_();
    lock.lock();
    finished_.wait(lock, [&] { return pending.done; });
    if (pending.error)
        std::rethrow_exception(pending.error);
}

bool MainThreadQueue::RunPending()
{
    std::deque<Pending*> batch;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        batch.swap(queue_);
    }
    for (Pending* pending : batch) {
        std::exception_ptr error;
        try {
            pending->step();
        } catch (...) {
            error = std::current_exception();
        }
        std::lock_guard<std::mutex> lock(mutex_);
        pending->error = error;
        pending->done = true;
        finished_.notify_all();
    }
    return !batch.empty();
}

void MainThreadQueue::Shutdown()
{
    std::lock_guard<std::mutex> lock(mutex_);
    closed_ = true;
    for (Pending* pending : queue_) {
        pending->error = std::make_exception_ptr(EHandOverClosed());
        pending->done = true;
    }
    queue_.clear();
    finished_.notify_all();
}
