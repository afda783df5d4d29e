#pragma once
// File operations that outlast a moment's hold by another program (common/HoldWaits.h) on Windows. A hold
// is a refusal for sharing or for a locked range (ERROR_SHARING_VIOLATION, ERROR_LOCK_VIOLATION); a
// read-only file, a folder, a missing file or an access rule that forbids us is none and stands at once
// (what each call gives is in docs/decisions.md, "Holds outlasted").
//
// Each module that links this (Update.exe, TkZip.dll) has a budget of its own for the life of its process,
// which for both is one update run: Update.exe runs once per process, and TkZip.dll is loaded by it.
// Windows only.
#include <windows.h>

#include <optional>

#include "common/HoldWaits.h"

// Whether the error is a refusal because another program holds the file for now.
bool IsHold(DWORD error);

// This module's budget, against the system's clock and Sleep.
HoldBudget& ModuleHoldBudget();

// One operation on files (an entry's install, a ProZip call, a save of the log) while it lives on this
// thread: every OutlastHolds on the thread meanwhile waits within its one bound. One made while another
// lives on the thread is part of that one.
class HoldOperation {
public:
    HoldOperation();
    HoldOperation(const HoldOperation&) = delete;
    HoldOperation& operator=(const HoldOperation&) = delete;
    ~HoldOperation();

    HoldWait& Wait() const { return *wait_; }

private:
    std::optional<HoldWait> own_; // when no other operation lived on the thread
    HoldWait* wait_;
};

// Runs `attempt` (a Win32 call that sets the last error when its result tests as false) until it succeeds,
// fails other than by a hold, or the waits of `operation` are spent; the last attempt's result, with its
// last error. Nothing more than the call is made unless it fails.
template <typename Attempt>
auto OutlastHolds(HoldWait& operation, Attempt attempt) -> decltype(attempt())
{
    return OutlastHolds(operation, attempt, [] { return IsHold(GetLastError()); });
}

// The same within the operation that lives on this thread, or as an operation of its own.
template <typename Attempt>
auto OutlastHolds(Attempt attempt) -> decltype(attempt())
{
    const HoldOperation operation;
    return OutlastHolds(operation.Wait(), attempt);
}
