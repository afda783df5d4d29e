#pragma once
// TlHelp32: the toolhelp functions of kernel32, looked up at run time instead of imported. Windows only
// (TlHelp32Win32.cpp).
//
// Each wrapper first makes sure the binding is initialised: until kernel32's module handle is known, every
// call asks GetModuleHandleA("kernel32.dll") (never loading or freeing the module) and, once it has it,
// resolves all sixteen toolhelp names with GetProcAddress. The functions count as available when the module
// handle is held and CreateToolhelp32Snapshot resolved. Only the ANSI process functions are offered.
// Single-threaded use: initialisation takes no lock.
#include <windows.h>
#include <tlhelp32.h>

namespace TlHelp32 {

// The system's snapshot handle, or 0 when the toolhelp functions are unavailable.
HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD processId);

// The system's result, or FALSE when the toolhelp functions or this entry point are unavailable.
BOOL Process32First(HANDLE snapshot, PROCESSENTRY32* entry);
BOOL Process32Next(HANDLE snapshot, PROCESSENTRY32* entry);

} // namespace TlHelp32
