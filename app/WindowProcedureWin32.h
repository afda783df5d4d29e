#pragma once
// The one window procedure of every window class of the program. It finds the object behind the window
// (handed to CreateWindowExA as its creation parameter and kept in GWLP_USERDATA from WM_NCCREATE to
// WM_NCDESTROY) and sends each message to the object's HandleMessage member; an error raised there goes to
// the application's error report, so none escapes into the system. A message that arrives before
// WM_NCCREATE, or whose handling raised an error, gets the result of DefWindowProcA or 0 respectively.
#include <windows.h>

#include "app/Application.h"

template <typename Window>
LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
    LRESULT result = 0;
    RunReportingErrors([&] { result = self->HandleMessage(window, message, wParam, lParam); });
    if (message == WM_NCDESTROY)
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    return result;
}
