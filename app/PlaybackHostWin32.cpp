#include "app/PlaybackHostWin32.h"

#include <mmsystem.h>

#include "common/SystemFunctionWin32.h"

PlaybackHost::PlaybackHost(Application& application)
    : platform_{*this, threading_, *this, application.MainThread(), GetSysColor(COLOR_WINDOW)}
{
}

// The multimedia timer's library is loaded with the strip's first frame, not at start-up; without it the
// tick count (coarser on Windows) times the strip.
std::uint32_t PlaybackHost::Now()
{
    static const auto multimediaTime = SystemFunction<decltype(timeGetTime)>("winmm.dll", "timeGetTime");
    return multimediaTime != nullptr ? multimediaTime() : GetTickCount();
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
