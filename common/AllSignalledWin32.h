#pragma once
// Waiting for several handles at once (processes that end, events), beyond the system's limit of
// MAXIMUM_WAIT_OBJECTS per wait. Windows only.
#include <windows.h>

#include <vector>

#include "common/HandlesWin32.h"

// Returns once every handle is signalled, true, or once `boundMs` milliseconds have passed in all or a wait
// failed, false. The handles are waited for in groups of up to MAXIMUM_WAIT_OBJECTS, each group for what is
// left of the bound.
bool WaitUntilAllSignalled(const std::vector<KernelHandle>& handles, DWORD boundMs);
