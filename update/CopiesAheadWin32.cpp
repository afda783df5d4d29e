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

// A lone copy is written by its taker: a thread's start costs Wine several milliseconds, as much as a small
// copy. Each further copy queued starts a worker until there are kWorkers.
void CopiesAhead::Announce(const std::string& source, const std::string& target)
{
    auto job = std::make_shared<Job>();
    job->source = source;
    job->target = target;
    std::size_t queued = 0;
    {
        const std::lock_guard<std::mutex> hold(lock_);
        jobs_.push_back(std::move(job));
        queued = jobs_.size();
    }
    if (queued > 1 && workers_.size() < kWorkers)
        StartWorker();
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

void CopiesAhead::StartWorker()
{
    try {
        workers_.emplace_back([this] { Work(); });
    } catch (const std::system_error&) {
        // Done without: what no worker begins is written when it is taken.
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
