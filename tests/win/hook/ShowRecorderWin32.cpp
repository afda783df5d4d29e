// ShowRecorder.dll: a global WH_CALLWNDPROC hook that the end-to-end tests set, so that the moment the
// update window comes on screen is seen from inside Update.exe itself, however briefly the window stays.
// For every window of class "TFrmMain" that is being shown (WM_WINDOWPOSCHANGED with SWP_SHOWWINDOW) it
// appends one line to the file named by the environment variable SHOW_RECORD:
//   "shown <left> <top> <right> <bottom> <zoomed 0|1> client=<0|1>"
// where client=1 means the file named by FAKE_CLIENT_RECORD existed at that moment.
#include <windows.h>

#include <cstdio>
#include <string>

#include "record/RecordLineWin32.h"

namespace {

std::string Environment(const char* name)
{
    char value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? value : "";
}

bool IsUpdateWindow(HWND window)
{
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    return std::string(className) == "TFrmMain";
}

void RecordShowing(HWND window)
{
    const std::string recordPath = Environment("SHOW_RECORD");
    if (recordPath.empty())
        return;
    const std::string clientRecord = Environment("FAKE_CLIENT_RECORD");
    const bool clientStarted = !clientRecord.empty() && GetFileAttributesA(clientRecord.c_str()) != INVALID_FILE_ATTRIBUTES;
    RECT outer = {};
    GetWindowRect(window, &outer);
    char line[160];
    std::snprintf(line, sizeof line, "shown %ld %ld %ld %ld %d client=%d\r\n", outer.left, outer.top, outer.right,
                  outer.bottom, IsZoomed(window) ? 1 : 0, clientStarted ? 1 : 0);
    AppendRecordLine(recordPath, line);
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK ShowRecorderHook(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_WINDOWPOSCHANGED) {
        const auto* position = reinterpret_cast<const WINDOWPOS*>(call->lParam);
        if ((position->flags & SWP_SHOWWINDOW) != 0 && IsUpdateWindow(call->hwnd))
            RecordShowing(call->hwnd);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
