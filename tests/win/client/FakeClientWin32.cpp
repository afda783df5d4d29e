// The fake exam client (built as QeltoExam.exe) that the end-to-end tests and the demo start, watch and
// expect to be relaunched. On start it appends a record of itself to a file: the path in the environment
// variable FAKE_CLIENT_RECORD, else "client-started.txt" in its current folder. The record is four lines,
// each ending in CR LF: "process=<id>", "commandLine=<its command line>", "folder=<its current folder>",
// and "applierLock=free" or "applierLock=held": whether an applier started now in the client's own folder
// would find the folder's applier lock free (update/ApplierLockWin32.h).
// Then it waits in its message loop, so that its termination can be observed, and ends by itself with
// exit code 3 after two minutes, so that no test leaves it behind for long.
#include <windows.h>

#include <string>

#include "record/RecordLineWin32.h"
#include "update/ApplierLockName.h"

namespace {

const UINT LifetimeMilliseconds = 120000;

std::string RecordPath()
{
    char path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("FAKE_CLIENT_RECORD", path, sizeof path);
    return length > 0 && length < sizeof path ? path : "client-started.txt";
}

std::string CurrentFolder()
{
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof folder, folder);
    return folder;
}

// The folder of this program, ending in "\".
std::string ProgramFolder()
{
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    const std::string program(path, length);
    return program.substr(0, program.find_last_of('\\') + 1);
}

// Takes the folder's applier lock for a moment, as an applier started now would.
bool ApplierLockFree()
{
    const HANDLE lock = CreateMutexA(nullptr, FALSE, ApplierLockName(ProgramFolder()).c_str());
    if (lock == nullptr)
        return false;
    const DWORD taken = WaitForSingleObject(lock, 0);
    const bool free = taken == WAIT_OBJECT_0 || taken == WAIT_ABANDONED;
    if (free)
        ReleaseMutex(lock);
    CloseHandle(lock);
    return free;
}

void AppendRecord()
{
    const std::string record = "process=" + std::to_string(GetCurrentProcessId()) + "\r\ncommandLine=" +
                               GetCommandLineA() + "\r\nfolder=" + CurrentFolder() + "\r\napplierLock=" +
                               (ApplierLockFree() ? "free" : "held") + "\r\n";
    AppendRecordLine(RecordPath(), record);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    AppendRecord();
    SetTimer(nullptr, 0, LifetimeMilliseconds, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0 && message.message != WM_TIMER)
        DispatchMessageA(&message);
    return 3;
}
