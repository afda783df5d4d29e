#include "common/AllSignalledWin32.h"

#include <algorithm>

bool WaitUntilAllSignalled(const std::vector<KernelHandle>& handles, DWORD boundMs)
{
    const ULONGLONG deadline = GetTickCount64() + boundMs;
    for (std::size_t first = 0; first < handles.size(); first += MAXIMUM_WAIT_OBJECTS) {
        std::vector<HANDLE> group;
        const std::size_t end = std::min<std::size_t>(handles.size(), first + MAXIMUM_WAIT_OBJECTS);
        for (std::size_t i = first; i < end; ++i)
            group.push_back(handles[i].Get());
        const ULONGLONG now = GetTickCount64();
        const DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
        const DWORD count = static_cast<DWORD>(group.size());
        if (WaitForMultipleObjects(count, group.data(), TRUE, left) >= WAIT_OBJECT_0 + count)
            return false;
    }
    return true;
}
