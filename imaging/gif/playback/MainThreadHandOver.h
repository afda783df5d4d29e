#pragma once
// The hand-over to the main thread, as painters see it: a worker hands a drawing step over and waits
// until the main thread has run it. The program implements it (app/MainThreadQueue.h) and passes it in
// through PlaybackPlatform.
#include <functional>

#include "common/Errors.h"

// "The main thread no longer runs handed-over steps": the hand-over was shut down.
class EHandOverClosed : public EAppError {
public:
    EHandOverClosed() : EAppError("The main thread no longer runs handed-over steps") {}
};

class MainThreadHandOver {
public:
    // Runs `step` on the main thread and returns when it has run; rethrows what the step raised, and
    // raises EHandOverClosed once the main thread no longer runs steps.
    virtual void HandOver(const std::function<void()>& step) = 0;
    // Main thread: runs the steps handed over so far. True when at least one step ran.
    virtual bool RunPending() = 0;
    // True on the main thread.
    virtual bool IsMainThread() const = 0;

protected:
    ~MainThreadHandOver() = default;
};
