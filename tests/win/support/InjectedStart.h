#pragma once
// Starts a program with the fault injector (tests/win/inject) loaded before its first instruction: the
// program is made suspended, its entry is parked on a jump to itself, the injector is queued to load on its
// first thread (an asynchronous procedure call, which the loader runs once the program's libraries are in
// and before the entry), and once the injector says it is in, the entry gets its bytes back. An injector
// that did not come in before the entry is an error, and the program is ended.
#include <windows.h>

#include <string>

// The started process and its first thread; the caller closes both handles.
PROCESS_INFORMATION StartInjected(const std::string& commandLine, const std::string& currentFolder,
                                  const std::string& injector);
