#pragma once
// The full path of the program's own executable file (GetModuleFileNameA). Windows only
// (ProgramPathWin32.cpp).
#include <string>

std::string ProgramPath();
