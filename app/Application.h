#pragma once
// The application object: the hidden application window, which carries the taskbar entry (captioned
// with the application title) and owns the message boxes, the message loop and pump, the
// application-modal message box, the error report and the hand-over to the main thread. One exists at a
// time, made and used on the main thread. Windows only.
//
// Decisions:
// - The hidden window is a zero-size popup with caption, system menu and minimise box at the centre of
//   the primary screen; its class icon is the resource "MAINICON", else the system's application icon.
// - The loop's idle work is the hand-over: when no message waits it runs the handed-over steps and
//   waits for the next message only when none ran.
// - The logoff notice: WM_QUERYENDSESSION is always allowed, and WM_ENDSESSION with a session that ends
//   ends the loop after its current turn, like a quit message.
// - Restore of the taskbar entry (WM_SYSCOMMAND SC_RESTORE to the hidden window) restores it and then
//   runs the restore handler, through which the main window comes back.
// - Close of the taskbar entry (WM_CLOSE to the hidden window) is sent on to the main window as its own
//   close; before a main window is set it is the quit request.
// - The modal box leaves its owner, the hidden window, to the system's own dialog handling, which
//   disables it while the box is up; every other visible, enabled top-level window of the thread is
//   disabled by us.
// - An error that is not a std::exception is reported with the text "Unknown error".
// - The modal box is named ModalMessageBox, since <windows.h> makes MessageBox a macro.
#include <windows.h>

#include <exception>
#include <functional>
#include <string>
#include <utility>

#include "app/MainThreadQueue.h"
#include "common/HandlesWin32.h"
#include "common/MessageBoxOwner.h"

class Application : public MessageBoxOwner {
public:
    // Creates the hidden window, reads the regional settings and becomes the owner of ShowMessageBox's boxes.
    Application();
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The application object that exists now; there must be one.
    static Application& Instance();

    HWND Handle() const { return window_.Get(); }
    // The application title, read back from the hidden window (at most 255 bytes).
    std::string Title() const;
    // The window whose close the taskbar entry's Close item asks for.
    void SetMainWindow(HWND mainWindow) { mainWindow_ = mainWindow; }
    // Makes the hidden window visible, which gives the program its taskbar entry.
    void ShowTaskbarEntry();
    // Minimises the taskbar entry (making it visible first when it was not), activating nothing.
    void MinimizeTaskbarEntry();
    // Runs `handler` each time the user restores the taskbar entry.
    void SetOnRestore(std::function<void()> handler) { onRestore_ = std::move(handler); }

    // Queues a quit message on the main thread's queue and returns at once.
    void RequestQuit();
    // Shows the main window through `showMainWindow`, then takes and dispatches messages one at a time
    // until a quit message or the logoff notice has been taken.
    void Run(const std::function<void()>& showMainWindow);
    // Takes and dispatches messages until none waits. A quit message met here is remembered, so that the
    // loop ends after its current turn.
    void ProcessMessages();
    // True once a quit message or the logoff notice has been taken.
    bool Terminated() const { return terminated_; }

    // MessageBoxA owned by the hidden window, with the text, caption and flags unchanged; the rest of the
    // program's windows are disabled while it is up. Returns the button pressed.
    int ModalMessageBox(const std::string& text, const std::string& caption, UINT flags) override;
    // Cancels the mouse capture, drops an EAbort, and shows any other error's text (ErrorText) in the
    // modal box with the application title as caption and flags 16 (MB_ICONERROR | MB_OK).
    void ReportError(const std::exception& error);

    // Runs steps of other threads on this one (see MainThreadQueue); its wake-up is a message to the
    // hidden window.
    MainThreadQueue& MainThread() { return handOver_; }

    // The hidden window's messages (see WindowProcedureWin32.h).
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    bool TakeMessage();
    void Idle();
    void ReloadRegionalSettings();

    static Application* current_;
    WindowHandle window_;
    MainThreadQueue handOver_;
    const UINT taskbarCreated_;
    HWND mainWindow_ = nullptr;
    std::function<void()> onRestore_;
    bool terminated_ = false;
};

// Runs `handler` with every error it raises reported by the application; nothing escapes.
void RunReportingErrors(const std::function<void()>& handler);
