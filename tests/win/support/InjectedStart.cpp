#include "support/InjectedStart.h"

#include <stdexcept>

#include "common/HandlesWin32.h"

namespace {

const BYTE Parked[2] = {0xEB, 0xFE}; // jmp $
const DWORD kEntryTimeoutMs = 20000;

ULONG_PTR EntryOf(HANDLE thread)
{
    CONTEXT context = {};
    context.ContextFlags = CONTEXT_INTEGER;
    if (!GetThreadContext(thread, &context))
        throw std::runtime_error("Cannot read the started program's first context");
#ifdef _WIN64
    return context.Rcx;
#else
    return context.Eax;
#endif
}

ULONG_PTR InstructionOf(HANDLE thread)
{
    CONTEXT context = {};
    context.ContextFlags = CONTEXT_CONTROL;
    GetThreadContext(thread, &context);
#ifdef _WIN64
    return context.Rip;
#else
    return context.Eip;
#endif
}

void WriteCode(HANDLE process, ULONG_PTR address, const BYTE* bytes)
{
    DWORD old = 0;
    SIZE_T written = 0;
    void* at = reinterpret_cast<void*>(address);
    if (!VirtualProtectEx(process, at, 2, PAGE_EXECUTE_READWRITE, &old) ||
        !WriteProcessMemory(process, at, bytes, 2, &written) || written != 2)
        throw std::runtime_error("Cannot write the started program's entry");
    VirtualProtectEx(process, at, 2, old, &old);
    FlushInstructionCache(process, at, 2);
}

void QueueLoad(HANDLE process, HANDLE thread, const std::string& injector)
{
    std::wstring path(injector.begin(), injector.end());
    const SIZE_T size = (path.size() + 1) * sizeof(wchar_t);
    void* remote = VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    SIZE_T written = 0;
    const auto load = reinterpret_cast<PAPCFUNC>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "LoadLibraryW")));
    if (remote == nullptr || !WriteProcessMemory(process, remote, path.c_str(), size, &written) ||
        !QueueUserAPC(load, thread, reinterpret_cast<ULONG_PTR>(remote)))
        throw std::runtime_error("Cannot queue the injector's load");
}

// Once the first thread spins at the parked entry, the entry gets its bytes back.
void Unpark(HANDLE process, HANDLE thread, ULONG_PTR entry, const BYTE* original)
{
    for (;;) {
        if (WaitForSingleObject(process, 0) == WAIT_OBJECT_0)
            throw std::runtime_error("The program ended before its entry");
        SuspendThread(thread);
        const bool atEntry = InstructionOf(thread) == entry;
        if (atEntry)
            WriteCode(process, entry, original);
        ResumeThread(thread);
        if (atEntry)
            return;
        Sleep(1);
    }
}

} // namespace

PROCESS_INFORMATION StartInjected(const std::string& commandLine, const std::string& currentFolder,
                                  const std::string& injector)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        currentFolder.c_str(), &startup, &started))
        throw std::runtime_error("Cannot start " + commandLine);
    try {
        const ULONG_PTR entry = EntryOf(started.hThread);
        BYTE original[2] = {};
        SIZE_T read = 0;
        if (!ReadProcessMemory(started.hProcess, reinterpret_cast<void*>(entry), original, 2, &read) || read != 2)
            throw std::runtime_error("Cannot read the started program's entry");
        WriteCode(started.hProcess, entry, Parked);
        const std::string name = "FaultInjectorIn-" + std::to_string(started.dwProcessId);
        const KernelHandle entered(CreateEventA(nullptr, TRUE, FALSE, name.c_str()));
        QueueLoad(started.hProcess, started.hThread, injector);
        ResumeThread(started.hThread);
        const HANDLE waits[] = {entered.Get(), started.hProcess};
        if (WaitForMultipleObjects(2, waits, FALSE, kEntryTimeoutMs) != WAIT_OBJECT_0)
            throw std::runtime_error("The fault injector did not come in before the program's entry");
        Unpark(started.hProcess, started.hThread, entry, original);
    } catch (...) {
        TerminateProcess(started.hProcess, 1);
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
        throw;
    }
    return started;
}
