#include "app/PlaybackHostWin32.h"

#include <mmsystem.h>

PlaybackHost::PlaybackHost(Application& application)
    : platform_{*this, threading_, *this, application.MainThread(), GetSysColor(COLOR_WINDOW)}
{
}

std::uint32_t PlaybackHost::Now()
{
    return timeGetTime();
}

// A quit message goes back on the queue, so that the message loop still ends.
bool PlaybackHost::DispatchWaiting(const std::function<bool()>& stop)
{
    MSG message;
    while (!stop() && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(int(message.wParam));
            return true;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return false;
}
