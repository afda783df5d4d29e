#pragma once
// A function of a system library that only one path of the program needs (the relaunch, the archive
// binding, the strip's timer). Its library is loaded from the system folder when the function is first
// asked for, not at start-up, and stays loaded. Windows only.
#include <windows.h>

// The procedure's address, or nullptr when the library or the procedure cannot be found.
FARPROC SystemProcedure(const char* library, const char* name);

// The same, as a pointer of the function's own type (declare the type with decltype of its header
// declaration, so that its calling convention comes along). Call it once and keep the result.
template <class Function>
Function* SystemFunction(const char* library, const char* name)
{
    // void (*)() stands for any function type, so the casts through it do not warn.
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(SystemProcedure(library, name)));
}
