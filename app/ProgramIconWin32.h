#pragma once
// The program's icon for a window class: the resource "MAINICON", else the system's application icon, at
// the system's icon size and at its small icon size (the title bar's). Both are loaded shared, so a second
// class finds them loaded already; a class given no small icon would have the system make its own copy
// from the resource. Windows only.
#include <windows.h>

struct ProgramIcons {
    HICON icon;
    HICON smallIcon;
};

ProgramIcons LoadProgramIcons();
