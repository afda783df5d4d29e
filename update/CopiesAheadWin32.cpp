#include "update/CopiesAheadWin32.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "common/StreamCopyWin32.h"

namespace {

// Holds the lock exclusively while it lives.
class Hold {
public:
    explicit Hold(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;
    ~Hold() { ReleaseSRWLockExclusive(&lock_); }

private:
    SRWLOCK& lock_;
};

// Waits on the condition variable, the lock held, until ready() holds.
template <typename Ready>
void WaitUntil(CONDITION_VARIABLE& condition, SRWLOCK& lock, Ready ready)
{
    while (!ready())
        SleepConditionVariableSRW(&condition, &lock, INFINITE, 0);
}

} // namespace

std::unique_ptr<ReplacementFile> CopiesAhead::WriteAhead(const std::string& source, const std::string& target)
{
    return WriteStreamCopy(source, target, SourceHolds::FailAtOnce);
}

CopiesAhead::CopiesAhead(Writer writer) : writer_(std::move(writer)) {}

CopiesAhead::~CopiesAhead()
{
    DropAll();
    {
        const Hold hold(lock_);
        ending_ = true;
    }
    WakeAllConditionVariable(&toBegin_);
    for (std::thread& worker : workers_)
        worker.join();
}

// A lone copy is written by its taker: a thread's start costs Wine several milliseconds, as much as a small
// copy. Each further copy queued starts a worker until there are kWorkers.
bool CopiesAhead::Announce(const std::string& source, const std::string& target)
{
    auto job = std::make_shared<Job>();
    job->source = source;
    job->target = target;
    std::size_t queued = 0;
    {
        const Hold hold(lock_);
        if (stopped_)
            return false;
        jobs_.push_back(std::move(job));
        queued = jobs_.size();
    }
    if (queued > 1 && workers_.size() < kWorkers)
        StartWorker();
    WakeConditionVariable(&toBegin_);
    return true;
}

std::optional<CopyAhead> CopiesAhead::Take(const std::string& source, const std::string& target)
{
    std::shared_ptr<Job> job;
    {
        const Hold hold(lock_);
        if (jobs_.empty() || jobs_.front()->source != source || jobs_.front()->target != target)
            return std::nullopt;
        job = std::move(jobs_.front());
        jobs_.pop_front();
        if (job->begun)
            WaitUntil(written_, lock_, [&] { return job->done; });
    }
    if (!job->begun)
        Write(*job);
    return std::move(job->outcome);
}

void CopiesAhead::DropAll()
{
    std::deque<std::shared_ptr<Job>> dropped;
    {
        const Hold hold(lock_);
        dropped.swap(jobs_);
        WaitUntil(written_, lock_, [&] {
            return std::all_of(dropped.begin(), dropped.end(), [](const auto& job) { return !job->begun || job->done; });
        });
    }
    // The replacements go with their jobs, each removing its file.
}

void CopiesAhead::StopAhead()
{
    {
        const Hold hold(lock_);
        stopped_ = true;
    }
    DropAll();
}

std::size_t CopiesAhead::Queued()
{
    const Hold hold(lock_);
    return jobs_.size();
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
    for (;;) {
        std::shared_ptr<Job> job;
        {
            const Hold hold(lock_);
            WaitUntil(toBegin_, lock_, [&] { return ending_ || FirstWaiting() != nullptr; });
            if (ending_)
                return;
            job = FirstWaiting();
            job->begun = true;
        }
        Write(*job);
        {
            // Let go of the job under the lock: whoever waits for it then holds the last reference, so a
            // dropped copy's file is gone when DropAll returns, not a moment later on this thread.
            const Hold hold(lock_);
            job->done = true;
            job.reset();
        }
        WakeAllConditionVariable(&written_);
    }
}

std::shared_ptr<CopiesAhead::Job> CopiesAhead::FirstWaiting() const
{
    const auto found = std::find_if(jobs_.begin(), jobs_.end(), [](const auto& job) { return !job->begun; });
    return found == jobs_.end() ? nullptr : *found;
}

void CopiesAhead::Write(Job& job) const
{
    try {
        job.outcome.copy = writer_(job.source, job.target);
    } catch (...) {
        job.outcome.error = std::current_exception();
    }
}
