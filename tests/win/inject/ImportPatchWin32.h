#pragma once
// Rewrites a loaded image's import address table: every entry bound to a function that has a stand-in
// (FileHooksWin32.h) is pointed at the stand-in, whichever system library it was bound from.
#include <windows.h>

// The number of entries rewritten.
int PatchImports(HMODULE image);
