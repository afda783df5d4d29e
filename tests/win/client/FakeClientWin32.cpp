// The fake exam client (built as QeltoExam.exe) that the end-to-end tests and the demo start, watch and
// expect to be relaunched. On start it appends a record of itself to a file: the path in the environment
// variable FAKE_CLIENT_RECORD, else "client-started.txt" in its current folder. The record is three lines,
// each ending in CR LF: "process=<id>", "commandLine=<its command line>", "folder=<its current folder>".
// Then it waits in its message loop, so that its termination can be observed, and ends by itself with
// exit code 3 after two minutes, so that no test leaves it behind for long.
#include <windows.h>

#include <string>

#include "record/RecordLineWin32.h"

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

void AppendRecord()
{
    const std::string record = "process=" + std::to_string(GetCurrentProcessId()) + "\r\ncommandLine=" +
                               GetCommandLineA() + "\r\nfolder=" + CurrentFolder() + "\r\n";
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
