// The applier lock in one process, its holders on threads of their own (a mutex is held by a thread): one
// holder per folder, whatever the letter case of the folder's path; free again once released, or once its
// holder ended without releasing it, as a killed applier does.
#include "update/ApplierLockWin32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "common/HandlesWin32.h"
#include "update/ApplierLockName.h"

namespace {

// A folder of this test run's own, so that no other run of the tests shares its lock.
std::string Folder(const std::string& name)
{
    return "C:\\ApplierLockTest-" + std::to_string(GetCurrentProcessId()) + "\\" + name + "\\";
}

// Whether a lock taken on another thread finds the folder held by another.
bool HeldElsewhere(const std::string& folder)
{
    bool held = false;
    std::thread([&] { held = ApplierLock(folder).HeldByAnother(); }).join();
    return held;
}

// Holds a folder's lock on a thread of its own until it goes.
class Holder {
public:
    explicit Holder(const std::string& folder)
        : thread_([this, folder] {
              ApplierLock lock(folder);
              heldByAnother_ = lock.HeldByAnother();
              SetEvent(taken_.Get());
              WaitForSingleObject(go_.Get(), INFINITE);
          })
    {
        WaitForSingleObject(taken_.Get(), INFINITE);
    }
    ~Holder()
    {
        SetEvent(go_.Get());
        thread_.join();
    }
    bool HeldByAnother() const { return heldByAnother_; }

private:
    KernelHandle taken_{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    KernelHandle go_{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    bool heldByAnother_ = true;
    std::thread thread_;
};

TEST(ApplierLock, OneHolderPerFolderWhateverTheLetterCaseOfItsPath)
{
    const Holder holder(Folder("Exam"));
    ASSERT_FALSE(holder.HeldByAnother());
    EXPECT_TRUE(ApplierLock(Folder("Exam")).HeldByAnother());
    EXPECT_TRUE(ApplierLock(Folder("eXAM")).HeldByAnother());
    EXPECT_FALSE(ApplierLock(Folder("Exam2")).HeldByAnother());
}

TEST(ApplierLock, IsFreeAgainOnceReleased)
{
    ApplierLock lock(Folder("Exam"));
    ASSERT_FALSE(lock.HeldByAnother());
    EXPECT_TRUE(HeldElsewhere(Folder("Exam")));
    lock.Release();
    EXPECT_FALSE(HeldElsewhere(Folder("Exam")));
    lock.Release();
    EXPECT_FALSE(HeldElsewhere(Folder("Exam")));
}

// The holder's thread ends owning the mutex, whose handle stays open here, as another waiting applier's
// would: the next lock is handed over abandoned, and is held.
TEST(ApplierLock, AHolderThatEndedWithoutReleasingLeavesItFree)
{
    const std::string name = ApplierLockName(Folder("Exam"));
    KernelHandle abandoned;
    std::thread([&] { abandoned.Reset(CreateMutexA(nullptr, TRUE, name.c_str())); }).join();
    ASSERT_TRUE(abandoned);

    ApplierLock lock(Folder("Exam"));
    EXPECT_FALSE(lock.HeldByAnother());
    EXPECT_TRUE(HeldElsewhere(Folder("Exam"))) << "the abandoned lock is held by its new owner";
}

} // namespace
