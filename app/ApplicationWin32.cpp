#include "app/Application.h"

#include "app/ApplicationTitle.h"
#include "app/ProgramIconWin32.h"
#include "app/WindowProcedureWin32.h"
#include "common/ApplicationFolder.h"
#include "update/SystemRegionalSettings.h"

namespace {

const char ApplicationClassName[] = "UpdateApplication";
// Posted to the hidden window by a thread that handed a step over.
const UINT HandOverMessage = WM_APP + 1;

void RegisterApplicationClass()
{
    static const bool registered = [] {
        WNDCLASSEXA windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = WindowProcedure<Application>;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        const ProgramIcons icons = LoadProgramIcons();
        windowClass.hIcon = icons.icon;
        windowClass.hIconSm = icons.smallIcon;
        windowClass.lpszClassName = ApplicationClassName;
        return RegisterClassExA(&windowClass) != 0;
    }();
    if (!registered)
        throw EAppError("Cannot register the application window class");
}

HWND CreateApplicationWindow(Application* application)
{
    RegisterApplicationClass();
    const DWORD style = WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX;
    const HWND window = CreateWindowExA(0, ApplicationClassName, SystemApplicationTitle(ProgramPath()).c_str(),
                                        style, GetSystemMetrics(SM_CXSCREEN) / 2,
                                        GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr, nullptr,
                                        GetModuleHandleA(nullptr), application);
    if (window == nullptr)
        throw EAppError("Cannot create the application window");
    return window;
}

} // namespace

Application* Application::current_ = nullptr;

Application::Application()
    : handOver_([this] { PostMessageA(Handle(), HandOverMessage, 0, 0); }),
      taskbarCreated_(RegisterWindowMessageA("TaskbarCreated"))
{
    if (current_ != nullptr)
        throw EAppError("An application object exists already");
    current_ = this;
    try {
        window_.Reset(CreateApplicationWindow(this));
        LoadSystemRegionalSettings();
        SetMessageBoxOwner(this);
    } catch (...) {
        current_ = nullptr;
        throw;
    }
}

Application::~Application()
{
    SetMessageBoxOwner(nullptr);
    handOver_.Shutdown();
    window_.Reset();
    current_ = nullptr;
}

Application& Application::Instance()
{
    if (current_ == nullptr)
        throw EAppError("No application object exists");
    return *current_;
}

std::string Application::Title() const
{
    char title[256] = {};
    GetWindowTextA(Handle(), title, sizeof title);
    return title;
}

void Application::ShowTaskbarEntry()
{
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
}

void Application::MinimizeTaskbarEntry()
{
    ShowWindow(Handle(), SW_SHOWMINNOACTIVE);
}

void Application::RequestQuit()
{
    PostQuitMessage(0);
}

LRESULT Application::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == HandOverMessage) {
        handOver_.RunPending();
        return 0;
    }
    if (message == WM_SETTINGCHANGE || message == taskbarCreated_)
        ReloadRegionalSettings();
    switch (message) {
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        terminated_ = terminated_ || wParam != FALSE;
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != SC_RESTORE || onRestore_ == nullptr)
            return DefWindowProcA(window, message, wParam, lParam);
        DefWindowProcA(window, message, wParam, lParam);
        onRestore_();
        return 0;
    case WM_CLOSE:
        if (mainWindow_ != nullptr)
            SendMessageA(mainWindow_, WM_CLOSE, 0, 0);
        else
            RequestQuit();
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

void Application::ReloadRegionalSettings()
{
    SetThreadLocale(LOCALE_USER_DEFAULT);
    LoadSystemRegionalSettings();
}
