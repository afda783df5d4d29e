#include "app/Application.h"

#include <vector>

namespace {

// Disables every visible and enabled top-level window of this thread except `owner` for its lifetime,
// and enables them again afterwards.
class DisabledThreadWindows {
public:
    explicit DisabledThreadWindows(HWND owner) : owner_(owner)
    {
        EnumThreadWindows(GetCurrentThreadId(), Disable, reinterpret_cast<LPARAM>(this));
    }
    ~DisabledThreadWindows()
    {
        for (const HWND window : disabled_)
            EnableWindow(window, TRUE);
    }
    DisabledThreadWindows(const DisabledThreadWindows&) = delete;
    DisabledThreadWindows& operator=(const DisabledThreadWindows&) = delete;

private:
    static BOOL CALLBACK Disable(HWND window, LPARAM self)
    {
        auto* windows = reinterpret_cast<DisabledThreadWindows*>(self);
        if (window != windows->owner_ && IsWindowVisible(window) && IsWindowEnabled(window)) {
            EnableWindow(window, FALSE);
            windows->disabled_.push_back(window);
        }
        return TRUE;
    }

    HWND owner_;
    std::vector<HWND> disabled_;
};

// Moves `owner` to the centre of the work area of `active`'s monitor when that differs from the owner's,
// so that the box comes up where the user is looking; moves it back afterwards.
class OwnerOnActiveMonitor {
public:
    OwnerOnActiveMonitor(HWND owner, HWND active) : owner_(owner)
    {
        if (active == nullptr)
            return;
        const HMONITOR target = MonitorFromWindow(active, MONITOR_DEFAULTTONEAREST);
        MONITORINFO info = {};
        info.cbSize = sizeof info;
        if (target == MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST) ||
            !GetMonitorInfoA(target, &info) || !GetWindowRect(owner, &home_))
            return;
        moved_ = true;
        MoveTo((info.rcWork.left + info.rcWork.right) / 2, (info.rcWork.top + info.rcWork.bottom) / 2);
    }
    ~OwnerOnActiveMonitor()
    {
        if (moved_)
            MoveTo(home_.left, home_.top);
    }
    OwnerOnActiveMonitor(const OwnerOnActiveMonitor&) = delete;
    OwnerOnActiveMonitor& operator=(const OwnerOnActiveMonitor&) = delete;

private:
    void MoveTo(int x, int y)
    {
        SetWindowPos(owner_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    HWND owner_;
    RECT home_ = {};
    bool moved_ = false;
};

// Gives the activation and the keyboard focus back to the windows that had them, if they still exist.
void RestoreActivation(HWND active, HWND focus)
{
    if (active != nullptr && IsWindow(active))
        SetActiveWindow(active);
    if (focus != nullptr && IsWindow(focus))
        SetFocus(focus);
}

} // namespace

int Application::ModalMessageBox(const std::string& text, const std::string& caption, UINT flags)
{
    const HWND active = GetActiveWindow();
    const HWND focus = GetFocus();
    int button = 0;
    {
        const OwnerOnActiveMonitor placement(Handle(), active);
        const DisabledThreadWindows disabled(Handle());
        button = MessageBoxA(Handle(), text.c_str(), caption.c_str(), flags);
    }
    RestoreActivation(active, focus);
    return button;
}
