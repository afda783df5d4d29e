#include "common/HoldsWin32.h"

namespace {

// GetTickCount64 and Sleep; the last error of the attempt before a pause is kept across it.
class SystemHoldClock : public HoldClock {
public:
    std::uint64_t NowMs() override { return GetTickCount64(); }
    void Pause(std::uint32_t milliseconds) override
    {
        const DWORD error = GetLastError();
        Sleep(milliseconds);
        SetLastError(error);
    }
};

// The operation that lives on this thread, if any.
thread_local HoldWait* threadsOperation = nullptr;

} // namespace

bool IsHold(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

HoldBudget& ModuleHoldBudget()
{
    static SystemHoldClock clock;
    static HoldBudget budget(clock, kHoldBounds);
    return budget;
}

HoldOperation::HoldOperation() : wait_(threadsOperation)
{
    if (wait_ == nullptr) {
        own_.emplace(ModuleHoldBudget());
        wait_ = threadsOperation = &*own_;
    }
}

HoldOperation::~HoldOperation()
{
    if (own_)
        threadsOperation = nullptr;
}
