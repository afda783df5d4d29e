// Prints the Windows version that the system reports to this program, as MAJOR.MINOR. Built with and
// without Update.exe's manifest, it shows what that manifest changes in what Windows tells the program.
#include <windows.h>

#include <cstdio>

int main()
{
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExW(&version))
        return 1;
    std::printf("%lu.%lu\n", version.dwMajorVersion, version.dwMinorVersion);
    return 0;
}
