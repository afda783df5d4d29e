#include "app/fUpDateMain.h"

#include "app/CommandLine.h"
#include "archive/ProZipBinding.h"
#include "common/ApplicationFolder.h"
#include "common/TemporariesWin32.h"
#include "common/UnitPublic.h"
#include "update/ApplierLockWin32.h"
#include "update/ClientRelaunchWin32.h"
#include "update/FileStoreWin32.h"
#include "update/SystemClock.h"
#include "update/UpdateFilesWin32.h"
#include "update/UpdateRun.h"

const std::string ClientExeName = "QeltoExam.exe";

namespace {

// The update run's host services as the update window gives them.
class FrmMainUpdateHost : public UpdateHost {
public:
    FrmMainUpdateHost(HWND updateWindow, ApplierLock* lock) : updateWindow_(updateWindow), lock_(lock) {}

    void PumpMessages() override { Application::Instance().ProcessMessages(); }
    int ShowMessageBox(const std::string& text, int kind, const std::string& caption) override
    {
        return ::ShowMessageBox(text, kind, caption);
    }
    int ProZip(const std::string& archive, const std::string& target, int mode) override
    {
        return CallProZip(archive, target, mode);
    }
    void LetNextApplierIn() override
    {
        if (lock_ != nullptr)
            lock_->Release();
    }
    void RelaunchClient() override { ::RelaunchClient(updateWindow_, ClientExeName); }

private:
    HWND updateWindow_;
    ApplierLock* lock_;
};

// Releases the lock when the scope ends, whether normally or by an error.
class ReleaseAtEnd {
public:
    explicit ReleaseAtEnd(ApplierLock* lock) : lock_(lock) {}
    ReleaseAtEnd(const ReleaseAtEnd&) = delete;
    ReleaseAtEnd& operator=(const ReleaseAtEnd&) = delete;
    ~ReleaseAtEnd()
    {
        if (lock_ != nullptr)
            lock_->Release();
    }

private:
    ApplierLock* lock_;
};

} // namespace

void TFrmMain::FormShow()
{
    const ReleaseAtEnd release(WorkLock);
    if (!ClientExeName.empty())
        TerminateProcessesByName(ClientExeName);
    if (RunMode == AutoRunMode)
        BtnUpClick();
}

void TFrmMain::BtnUpClick()
{
    // A run killed before left its temporaries; none of them is the only copy of anything. The scope outlasts
    // the files' copies ahead, so it clears the folder once their workers have ended.
    const TemporariesScope temporaries;
    FileStoreWin32 store;
    UpdateFilesWin32 files;
    FrmMainUpdateHost host(Handle(), WorkLock);
    SystemClock clock;
    const std::string folder = ApplicationFolder();
    RunUpdate(folder, {store, files, host, clock});
}
