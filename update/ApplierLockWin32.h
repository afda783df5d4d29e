#pragma once
// One applier at a time in an application folder. Two appliers at once would each rewrite the log over
// the other's records, rotate the version files step by step into a mix, and end the client that the
// other has just relaunched; so every start of Update.exe, with any switch, first takes the folder's lock,
// and one that finds it held by another applier ends at once, touching nothing and starting nothing.
//
// The lock is a named mutex (ApplierLockName.h), so it dies with its process: a killed holder leaves it
// abandoned, which counts as free. It lives in the global namespace, so that appliers of one folder
// started in two sessions of one machine (fast user switching, a remote desktop beside the console) also
// exclude each other; making a mutex there needs no privilege. A mutex of that name that this user may
// not open was made by an applier of another user: that counts as held. Any other failure to make it
// lets the applier run unlocked, as it did before there was a lock. Windows only.
#include <string>

#include "common/HandlesWin32.h"

class ApplierLock {
public:
    // Takes the folder's lock unless another applier holds it.
    explicit ApplierLock(const std::string& applicationFolder);
    ApplierLock(const ApplierLock&) = delete;
    ApplierLock& operator=(const ApplierLock&) = delete;
    ~ApplierLock() { Release(); }

    // True when another applier holds the lock: this one must end at once.
    bool HeldByAnother() const { return heldByAnother_; }

    // Lets the next applier in; later calls do nothing. Called on the thread that took it.
    void Release();

private:
    KernelHandle mutex_;
    bool owned_ = false;
    bool heldByAnother_ = false;
};
