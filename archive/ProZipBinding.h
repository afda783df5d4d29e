#pragma once
// The call into the archive library's ProZip (tkzip/ProZip.h). Windows only (ProZipBindingWin32.cpp).
#include <string>

// Converts both ANSI paths to UTF-16 with the calling thread's ANSI code page, passes them as BSTRs
// (freed after the call) and returns ProZip's result: -1 is failure, any other value success.
// Raises std::bad_alloc when a string cannot be allocated.
int CallProZip(const std::string& archiveAnsi, const std::string& targetAnsi, int mode);
