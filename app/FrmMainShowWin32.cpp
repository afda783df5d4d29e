#include "app/fUpDateMain.h"

#include "app/WindowGeometry.h"

void TFrmMain::ShowFirstTime(int showCommand)
{
    if (showCommand == SW_SHOWMINNOACTIVE) {
        state_ = WindowState::Minimized;
        showPending_ = true;
        application_.MinimizeTaskbarEntry();
        return;
    }
    if (showCommand == SW_SHOWMAXIMIZED)
        state_ = WindowState::Maximized;
    ShowSequence();
}

// The first showing: the taskbar entry, the show handler with its errors reported, the placement, and
// only then the window on screen, activated.
void TFrmMain::ShowSequence()
{
    application_.ShowTaskbarEntry();
    if (onShow_ != nullptr)
        RunReportingErrors([this] { (this->*onShow_)(); });
    if (desktopCenter_)
        CentreOnDesktop();
    ShowWindow(Handle(), state_ == WindowState::Maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    SetForegroundWindow(Handle());
}

void TFrmMain::CentreOnDesktop()
{
    RECT outer = {};
    GetWindowRect(Handle(), &outer);
    const ScreenPoint corner =
        DesktopCentre({GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)},
                      {outer.right - outer.left, outer.bottom - outer.top});
    SetWindowPos(Handle(), nullptr, corner.x, corner.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Minimising the main window minimises the taskbar entry, and the window goes with it.
void TFrmMain::Minimize()
{
    application_.MinimizeTaskbarEntry();
    ShowWindow(Handle(), SW_HIDE);
    hiddenByMinimize_ = true;
}

// The user restored the taskbar entry: a first showing that waited for it runs now, in the normal state;
// a window hidden by minimising comes back.
void TFrmMain::TaskbarEntryRestored()
{
    if (showPending_) {
        showPending_ = false;
        state_ = WindowState::Normal;
        ShowSequence();
    } else if (hiddenByMinimize_) {
        hiddenByMinimize_ = false;
        ShowWindow(Handle(), SW_SHOW);
        SetForegroundWindow(Handle());
    }
}
