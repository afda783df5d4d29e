#pragma once
// The program's own executable: its full path (GetModuleFileNameA) and its folder, up to and including
// the last "\" or ":" of that path. Every file name the program uses is formed by plain concatenation
// onto the folder. Windows only (ApplicationFolderWin32.cpp).
#include <string>

std::string ProgramPath();
std::string ApplicationFolder();
