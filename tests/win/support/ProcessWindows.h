#pragma once
// Finding a visible top-level window of another process, as the end-to-end tests look for the update
// window and its message boxes.
#include <windows.h>

#include <functional>
#include <string>

// The first visible top-level window of the process for which `matches` holds, or null.
HWND FindProcessWindow(DWORD processId, const std::function<bool(HWND)>& matches);

// A window's class name.
std::string ClassNameOf(HWND window);
