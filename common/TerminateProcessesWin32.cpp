#include "common/TerminateProcessesWin32.h"

#include "common/AllSignalledWin32.h"
#include "common/HandlesWin32.h"
#include "common/ImageNameMatch.h"
#include "common/TlHelp32.h"
#include "common/UnitPublic.h"

#include <cstring>
#include <utility>
#include <vector>

#ifndef _WIN64
static_assert(sizeof(PROCESSENTRY32) == 296, "the ANSI process entry of 32-bit Windows");
#endif

namespace {

bool IsSystemLeadByte(unsigned char byte)
{
    return IsDBCSLeadByte(byte) != FALSE;
}

std::string ImageNameOf(const PROCESSENTRY32& entry)
{
    return std::string(entry.szExeFile, strnlen(entry.szExeFile, sizeof entry.szExeFile));
}

// How long the walk waits, in all, for the processes it ended to be gone.
const DWORD kEndsBoundMs = 5000;

// Opened with the right to wait as well, so that a process asked to end can be waited for: Windows ends it
// after TerminateProcess returns, and its handles and mapped image stay until then. The handle of a
// process asked to end goes to `ending`. A process that we may end but not wait for (its access rules
// grant the one right and not the other) is still ended, as it would be without the wait.
bool TerminateProcessById(DWORD processId, const EndProcess& end, std::vector<KernelHandle>& ending)
{
    KernelHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId));
    const bool waitable = process.Valid();
    if (!waitable && GetLastError() == ERROR_ACCESS_DENIED)
        process.Reset(OpenProcess(PROCESS_TERMINATE, FALSE, processId));
    if (!process || !end(process.Get()))
        return false;
    if (waitable)
        ending.push_back(std::move(process));
    return true;
}

// A snapshot of 0 means the toolhelp functions are missing: there is nothing to close.
FileHandle TakeProcessSnapshot()
{
    const HANDLE snapshot = TlHelp32::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    return FileHandle(snapshot ? snapshot : INVALID_HANDLE_VALUE);
}

} // namespace

bool TerminateProcessesByName(const std::string& name)
{
    return TerminateProcessesByName(name, [](HANDLE process) { return TerminateProcess(process, 0) != FALSE; });
}

bool TerminateProcessesByName(const std::string& name, const EndProcess& end)
{
    const FileHandle snapshot = TakeProcessSnapshot();
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    bool result = false;
    std::vector<KernelHandle> ending;
    for (BOOL more = TlHelp32::Process32First(snapshot.Get(), &entry); more;
         more = TlHelp32::Process32Next(snapshot.Get(), &entry)) {
        if (ImageNameMatches(ImageNameOf(entry), name, IsSystemLeadByte))
            result = TerminateProcessById(entry.th32ProcessID, end, ending);
    }
    WaitUntilAllSignalled(ending, kEndsBoundMs);
    return result;
}
