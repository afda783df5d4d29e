#include "update/ApplierLockWin32.h"

#include <windows.h>

#include "update/ApplierLockName.h"

ApplierLock::ApplierLock(const std::string& applicationFolder)
    : mutex_(CreateMutexA(nullptr, FALSE, ApplierLockName(applicationFolder).c_str()))
{
    if (!mutex_) {
        heldByAnother_ = GetLastError() == ERROR_ACCESS_DENIED;
        return;
    }
    // Made or opened (ERROR_ALREADY_EXISTS tells only which), the lock is ours when the wait says so; one
    // whose holder ended without releasing it is handed over abandoned, and is ours just the same.
    const DWORD taken = WaitForSingleObject(mutex_.Get(), 0);
    owned_ = taken == WAIT_OBJECT_0 || taken == WAIT_ABANDONED;
    heldByAnother_ = taken == WAIT_TIMEOUT;
}

void ApplierLock::Release()
{
    if (owned_)
        ReleaseMutex(mutex_.Get());
    owned_ = false;
    mutex_.Reset();
}
