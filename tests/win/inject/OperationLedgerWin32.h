#pragma once
// The injector's count of a run's file operations and its faults. Every interposed call asks Begin first;
// the answer says whether the call fails and with which error (or the process has ended there).
//
// Operations are named by keys that stay the same from run to run although later plain entries are copied
// ahead on worker threads: "<function>|<file>|<occurrence>", the file relative to the application folder
// (the program's folder) in lower case, its occurrence counted per function and file. Our temporaries'
// names carry a process id and a serial that change from run to run, so a temporary is named after the
// file its thread opened last before making it ("update\~upd\tmp(<that file>)"), and a name put aside after
// its origin ("update\~upd\aside-<hex origin>").
//
// A hold's waits are paused by Sleep after a failed attempt: while a thread's last call failed by our
// fault, its Sleep returns at once and the time is added to the clock it reads (GetTickCount64,
// GetTickCount), so a hold for good costs its bounds in the program's time, not in the sweep's. The waits
// so counted are written to the trace per image.
#include <windows.h>

#include <map>
#include <set>
#include <string>

#include "FaultPlan.h"

struct Verdict {
    bool fails = false;
    DWORD error = 0;
};

class OperationLedger {
public:
    // Reads the plan from the environment; `program` and `library` are the two images whose calls count.
    OperationLedger(HMODULE program, HMODULE library);
    ~OperationLedger();

    // A call on the file at `path` (a destination too for a rename: null otherwise).
    Verdict BeginOnPath(const char* function, const std::wstring& path, unsigned admits,
                        const std::wstring* destination = nullptr);
    // A call on the file of an open handle.
    Verdict BeginOnHandle(const char* function, HANDLE handle, unsigned admits);
    // Links a handle just opened (a file, or a folder's search) to the file its path named.
    void Opened(HANDLE handle, const std::wstring& path);
    // Whether the caller's Sleep is a pause after our fault, which then counts as waited by `caller`.
    bool SkipsPause(DWORD milliseconds, const void* caller);
    // The milliseconds the program's clock is ahead of the system's.
    ULONGLONG ClockAhead();
    // Writes the trace out (at the process's end).
    void Flush();

private:
    Verdict Begin(const char* function, const std::wstring& file, unsigned admits, const std::wstring* destination);
    Verdict Decide(const std::string& key, const std::wstring& file, unsigned admits, const std::wstring* destination);
    std::wstring FileOf(const std::wstring& path);
    std::wstring TemporaryName(const std::wstring& full, const std::wstring& name);

    CRITICAL_SECTION lock_;
    HMODULE program_;
    HMODULE library_;
    std::wstring folder_; // the application folder, lower case, ending in "\"
    std::wstring tracePath_;
    FaultKind kind_ = FaultKind::None;
    std::string at_;
    bool begun_ = false;    // the fault began at its key
    std::wstring faulted_;  // the file whose fault lasts (a hold for good, a refusal)
    std::string trace_;
    std::map<std::string, int> occurrences_;
    std::map<HANDLE, std::wstring> handles_;
    std::map<std::wstring, std::wstring> temporaries_; // a temporary's full path -> its name in keys
    std::map<DWORD, std::wstring> lastOpened_;         // per thread: the last file it opened
    std::set<DWORD> faultedThreads_;                   // threads whose last call failed by our fault
    ULONGLONG ahead_ = 0;
    ULONGLONG waitedProgram_ = 0;
    ULONGLONG waitedLibrary_ = 0;
};
