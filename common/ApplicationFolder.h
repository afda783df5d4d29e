#pragma once
// The folder of the program's own executable, up to and including the last "\" or ":" of its full path
// (GetModuleFileNameA). Every file name the program uses is formed by plain concatenation onto it.
// Windows only (ApplicationFolderWin32.cpp).
#include <string>

std::string ApplicationFolder();
