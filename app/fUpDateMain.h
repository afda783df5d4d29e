#pragma once
// fUpDateMain: the update window TFrmMain, the program's only window. It is built, hidden, from the
// layout resource TFRMMAIN; its show sequence FormShow ends the exam client's processes and, for an
// update run, runs BtnUpClick, all before the window reaches the screen. Closing it is the quit request.
// Windows only.
//
// Decisions:
// - The window is owned by the application's hidden window, so it has no taskbar entry of its own.
//   Minimising it minimises the taskbar entry and hides the window; restoring the entry shows it again.
// - Of the start-up show commands only 7 (minimised, not activated) and 3 (maximised) change the first
//   showing; every other command shows it normally.
// - The class icon (title bar) is the resource "MAINICON", else the system's application icon.
#include <windows.h>

#include <string>
#include <vector>

#include "app/Application.h"
#include "app/ControlsWin32.h"
#include "app/FormDescription.h"
#include "common/HandlesWin32.h"

class ApplierLock;

// Image name of the exam client: the show sequence ends its processes, the relaunch starts it. Never
// changed at run time; when empty, both are skipped.
extern const std::string ClientExeName;

class TFrmMain {
public:
    // Builds the window from the layout resource TFRMMAIN, hidden and scaled, and makes it the
    // application's main window. Raises ELayoutError when the layout cannot be built.
    explicit TFrmMain(Application& application);
    TFrmMain(const TFrmMain&) = delete;
    TFrmMain& operator=(const TFrmMain&) = delete;

    TImage Image1; // the banner
    TImage Image2; // the animated strip
    TLabel Label1;
    std::string RunMode; // "" or AutoRunMode
    // The folder's applier lock (update/ApplierLockWin32.h), released just before the client is relaunched
    // (the run's file work is over then, and the relaunched client may start an applier at once), else when
    // the show handler ends: a window left open after a copy failure keeps no later update out. Null when
    // there is none to release.
    ApplierLock* WorkLock = nullptr;

    HWND Handle() const { return window_.Get(); }

    // The show sequence: ends the client's processes, then performs the update run in AutoRun mode;
    // releases WorkLock at its end, also when an error ends it.
    void FormShow();
    // The update run on the application folder.
    void BtnUpClick();
    // Close: the close query always allows it, and for the main window it is the quit request. The
    // window is neither hidden nor destroyed.
    void Close();

    // The message loop's first showing, for the start-up show command (see Decisions).
    void ShowFirstTime(int showCommand);

    // The window's messages (see WindowProcedureWin32.h).
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    enum class WindowState { Normal, Minimized, Maximized };
    using Handler = void (TFrmMain::*)();

    void Build(const FormDescription& form);
    void BindControl(const ControlDescription& control, const ControlBounds& bounds);
    void ShowSequence();
    void CentreOnDesktop();
    void Minimize();
    void TaskbarEntryRestored();
    void EraseBackground(HWND window, HDC deviceContext) const;
    void PictureChanged(const TImage& image) const;
    void Paint(HWND window) const;

    Application& application_;
    FontHandle font_;
    int backgroundColor_ = COLOR_BTNFACE;
    int textColor_ = COLOR_WINDOWTEXT;
    bool desktopCenter_ = false;
    Handler onShow_ = nullptr;
    std::vector<TControl*> controls_; // in layout (painting) order
    WindowState state_ = WindowState::Normal;
    bool showPending_ = false;
    bool hiddenByMinimize_ = false;
    WindowHandle window_; // last, so the window goes before the members its messages use
};
