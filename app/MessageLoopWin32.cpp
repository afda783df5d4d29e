#include "app/Application.h"

void Application::Run(const std::function<void()>& showMainWindow)
{
    RunReportingErrors(showMainWindow);
    while (!terminated_) {
        if (!TakeMessage())
            Idle();
    }
}

void Application::ProcessMessages()
{
    while (TakeMessage()) {
    }
}

// Takes one waiting message, if any: a quit message ends the loop, any other is dispatched.
bool Application::TakeMessage()
{
    MSG message;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (message.message == WM_QUIT) {
        terminated_ = true;
    } else {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return true;
}

// Runs the handed-over steps; waits for the next message only when none ran, so that the loop first
// looks at whatever the steps caused.
void Application::Idle()
{
    if (!handOver_.RunPending())
        WaitMessage();
}
