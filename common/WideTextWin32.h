#pragma once
// Conversion of byte texts in a Windows code page to UTF-16 and back. Windows only.
#include <windows.h>

#include <string>

// The text read in `codePage` (CP_ACP for the ANSI file functions' paths, CP_THREAD_ACP for the thread's).
std::wstring WideText(const std::string& text, UINT codePage);

// The text written in `codePage` (CP_ACP for the ANSI file functions' paths).
std::string NarrowText(const std::wstring& text, UINT codePage);
