// A copy of win_tests.exe started with UPDATER_SLEEPER set runs no tests: it only waits to be terminated.
// The termination tests start such copies under the names they need. A copy that is never terminated ends
// by itself after a minute, with exit code 3.
#include <windows.h>

namespace {

const bool sleeperStarted = [] {
    if (GetEnvironmentVariableA("UPDATER_SLEEPER", nullptr, 0) == 0)
        return false;
    Sleep(60000);
    ExitProcess(3);
}();

} // namespace
