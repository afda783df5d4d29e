#include "update/CopiesAheadWin32.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "common/StreamCopyWin32.h"

CopiesAhead::~CopiesAhead()
{
    DropAll();
    {
        const std::lock_guard<std::mutex> hold(lock_);
        ending_ = true;
    }
    changed_.notify_all();
    for (std::thread& worker : workers_)
        worker.join();
}

void CopiesAhead::Announce(const std::string& source, const std::string& target)
{
    if (workers_.empty())
        StartWorkers();
    auto job = std::make_shared<Job>();
    job->source = source;
    job->target = target;
    {
        const std::lock_guard<std::mutex> hold(lock_);
        jobs_.push_back(std::move(job));
    }
    changed_.notify_one();
}

std::optional<CopyAhead> CopiesAhead::Take(const std::string& source, const std::string& target)
{
    std::unique_lock<std::mutex> hold(lock_);
    if (jobs_.empty() || jobs_.front()->source != source || jobs_.front()->target != target)
        return std::nullopt;
    const std::shared_ptr<Job> job = std::move(jobs_.front());
    jobs_.pop_front();
    if (job->begun) {
        changed_.wait(hold, [&] { return job->done; });
    } else {
        hold.unlock();
        Write(*job);
    }
    return std::move(job->outcome);
}

void CopiesAhead::DropAll()
{
    std::deque<std::shared_ptr<Job>> dropped;
    {
        std::unique_lock<std::mutex> hold(lock_);
        dropped.swap(jobs_);
        changed_.wait(hold, [&] {
            return std::all_of(dropped.begin(), dropped.end(), [](const auto& job) { return !job->begun || job->done; });
        });
    }
    // The replacements go with their jobs, each removing its file.
}

// Without workers (none could be started) every copy is written when it is taken.
void CopiesAhead::StartWorkers()
{
    try {
        for (unsigned i = 0; i < kWorkers; ++i)
            workers_.emplace_back([this] { Work(); });
    } catch (const std::system_error&) {
        // Those started work on; the rest is written by the taker.
    }
}

void CopiesAhead::Work()
{
    std::unique_lock<std::mutex> hold(lock_);
    for (;;) {
        changed_.wait(hold, [&] { return ending_ || FirstWaiting() != nullptr; });
        if (ending_)
            return;
        const std::shared_ptr<Job> job = FirstWaiting();
        job->begun = true;
        hold.unlock();
        Write(*job);
        hold.lock();
        job->done = true;
        changed_.notify_all();
    }
}

std::shared_ptr<CopiesAhead::Job> CopiesAhead::FirstWaiting() const
{
    const auto found = std::find_if(jobs_.begin(), jobs_.end(), [](const auto& job) { return !job->begun; });
    return found == jobs_.end() ? nullptr : *found;
}

void CopiesAhead::Write(Job& job)
{
    try {
        job.outcome.copy = WriteStreamCopy(job.source, job.target);
    } catch (...) {
        job.outcome.error = std::current_exception();
    }
}
