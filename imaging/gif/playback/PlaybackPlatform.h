#pragma once
// What a painter needs from the platform, behind small interfaces so that its timing can run against
// a controlled clock and waits: a millisecond counter, wake events and threads, the message pump of a
// painter without a thread, and the hand-over to the main thread (which owns all drawing).
#include <cstdint>
#include <functional>
#include <memory>

#include "imaging/gif/playback/MainThreadHandOver.h"
#include "imaging/gif/playback/PlaybackOptions.h"

// A wrapping millisecond counter (the system's multimedia time).
class PlaybackClock {
public:
    virtual ~PlaybackClock() = default;
    virtual std::uint32_t Now() = 0;
};

// An auto-reset event, initially not signalled.
class PainterWakeEvent {
public:
    virtual ~PainterWakeEvent() = default;
    virtual void Set() = 0;
    // Waits up to `timeoutMs` (-1: without limit). True when the event ended the wait (and is reset),
    // false on the time-out.
    virtual bool Wait(int timeoutMs) = 0;
};

// A thread made suspended around its body. The body may free the thread object as its last act, so
// Resume touches nothing of the object once the body can run.
class PainterThread {
public:
    virtual ~PainterThread() = default;
    virtual void Resume() = 0;
    virtual bool Suspended() const = 0;
    virtual void SetPriority(TThreadPriority priority) = 0;
};

class PainterThreading {
public:
    virtual ~PainterThreading() = default;
    virtual std::unique_ptr<PainterWakeEvent> CreateWakeEvent() = 0;
    virtual std::unique_ptr<PainterThread> CreateThread(std::function<void()> body) = 0;
    // Gives up the rest of the time slice.
    virtual void YieldSlice() = 0;
    virtual void Sleep(int milliseconds) = 0;
};

// The message pump of a painter without a thread, which waits on the caller's thread.
class PainterMessagePump {
public:
    virtual ~PainterMessagePump() = default;
    // Takes and dispatches every message waiting in the calling thread's queue while `stop` is false.
    // A quit message is posted again with its exit code, and the call returns true.
    virtual bool DispatchWaiting(const std::function<bool()>& stop) = 0;
};

struct PlaybackPlatform {
    PlaybackClock& Clock;
    PainterThreading& Threading;
    PainterMessagePump& Pump;
    MainThreadHandOver& MainThread;
    std::uint32_t WindowColor; // the system window colour as red + green * 256 + blue * 65536
};
