#pragma once
// Copies written and flushed ahead, in the background, for UpdateFilesWin32: announced copies wait in
// manifest order; a few worker threads write each one's replacement file (common/StreamCopyWin32.h) and
// flush it, so that the disk flushes several at once while the main thread installs earlier ones. Taking
// a copy waits for it (or writes it then, when no worker has begun it); every check of its target and its
// rename stay with the taker. Errors never leave a worker: they are kept with the copy and raised when it
// is taken. Workers touch no window. Windows only.
#include <windows.h>

#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "common/ReplacementFileWin32.h"

// What became of a copy written ahead: its flushed replacement file (none on a copy failure), or the
// error that opening its source raised.
struct CopyAhead {
    std::unique_ptr<ReplacementFile> copy;
    std::exception_ptr error;
};

class CopiesAhead {
public:
    static const unsigned kWorkers = 4;

    // Writes and flushes one copy's replacement, as WriteStreamCopy does (common/StreamCopyWin32.h).
    using Writer = std::function<std::unique_ptr<ReplacementFile>(const std::string& source, const std::string& target)>;

    // How a copy is written ahead: as WriteStreamCopy does, but a hold on its source fails at once, since a
    // worker must not wait; the copy made again in turn waits for it.
    static std::unique_ptr<ReplacementFile> WriteAhead(const std::string& source, const std::string& target);

    // writer: how each copy is written ahead.
    explicit CopiesAhead(Writer writer);
    CopiesAhead(const CopiesAhead&) = delete;
    CopiesAhead& operator=(const CopiesAhead&) = delete;
    // Drops what is left and ends the workers.
    ~CopiesAhead();

    // Queues the copy after those queued before; the workers start with the first not yet begun. False,
    // queueing nothing, once StopAhead was called.
    bool Announce(const std::string& source, const std::string& target);
    // The first queued copy when it is this one, once written; nothing when another one is first or none
    // is queued.
    std::optional<CopyAhead> Take(const std::string& source, const std::string& target);
    // Forgets every queued copy, waits for those being written and removes every replacement written.
    void DropAll();
    // Drops every queued copy and queues none from now on: what the disk holds may suffice for one copy at
    // a time and not for several.
    void StopAhead();
    // How many copies are queued and not yet taken.
    std::size_t Queued();

private:
    struct Job {
        std::string source;
        std::string target;
        bool begun = false;
        bool done = false;
        CopyAhead outcome;
    };

    void StartWorker();
    void Work();
    std::shared_ptr<Job> FirstWaiting() const;
    void Write(Job& job) const;

    const Writer writer_;

    // The system's own lock and condition variables: under Wine they wait inside the process, while each
    // wait and wake of the C++ runtime's (on semaphores) is a request to the wine server, which every file
    // operation of the run queues for too.
    SRWLOCK lock_ = SRWLOCK_INIT;
    CONDITION_VARIABLE toBegin_ = CONDITION_VARIABLE_INIT; // a copy waits to be begun, or the workers end
    CONDITION_VARIABLE written_ = CONDITION_VARIABLE_INIT; // a copy has been written
    std::deque<std::shared_ptr<Job>> jobs_;
    std::vector<std::thread> workers_;
    bool ending_ = false;
    bool stopped_ = false; // StopAhead was called
};
