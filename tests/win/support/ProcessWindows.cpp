#include "support/ProcessWindows.h"

namespace {

struct WindowSearch {
    DWORD processId;
    const std::function<bool(HWND)>& matches;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM search)
{
    auto* wanted = reinterpret_cast<WindowSearch*>(search);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != wanted->processId || !IsWindowVisible(window) || !wanted->matches(window))
        return TRUE;
    wanted->found = window;
    return FALSE;
}

} // namespace

HWND FindProcessWindow(DWORD processId, const std::function<bool(HWND)>& matches)
{
    WindowSearch search{processId, matches, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string ClassNameOf(HWND window)
{
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}
