#include "app/Application.h"

#include "app/ErrorText.h"

namespace {

// Tells the window that holds the mouse capture, if any, to cancel it.
void CancelMouseCapture()
{
    const HWND capture = GetCapture();
    if (capture != nullptr)
        SendMessageA(capture, WM_CANCELMODE, 0, 0);
}

} // namespace

void Application::ReportError(const std::exception& error)
{
    CancelMouseCapture();
    if (dynamic_cast<const EAbort*>(&error) != nullptr)
        return;
    ModalMessageBox(ErrorText(error.what()), Title(), MB_OK | MB_ICONERROR);
}

void RunReportingErrors(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception& error) {
        Application::Instance().ReportError(error);
    } catch (...) {
        Application::Instance().ReportError(EAppError("Unknown error"));
    }
}
