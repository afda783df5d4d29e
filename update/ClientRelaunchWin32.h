#pragma once
// The client relaunch, the last step of a finished update run. Windows only.
#include <windows.h>

#include <string>

// When clientExeName is not empty: asks the shell to open it (a bare name, resolved from the current
// folder and the shell's search rules) with the deciphered LaunchParameters, owned by the update window,
// in a normal window, and closes the update window (WM_CLOSE). The shell's result is not examined and
// nothing is logged. When it is empty, nothing happens and the window stays open.
void RelaunchClient(HWND updateWindow, const std::string& clientExeName);
