#pragma once
// The walk behind TerminateProcessesByName (common/UnitPublic.h), with the asking of each process to end
// passed in, so that a test can end a process late, as Windows does, which Wine never shows. Windows only.
#include <windows.h>

#include <functional>
#include <string>

// Asks the process (opened with PROCESS_TERMINATE, and SYNCHRONIZE where granted) to end; true when asked.
using EndProcess = std::function<bool(HANDLE process)>;

// TerminateProcessesByName with each matching process asked to end by `end`.
bool TerminateProcessesByName(const std::string& name, const EndProcess& end);
