#pragma once
// The system's text for a Win32 error code, trimmed for quoting in a message: trailing blanks, control
// characters and ASCII full stops removed. Windows only (SystemErrorWin32.cpp).
#include <string>

std::string SystemErrorText(unsigned long code);
