// FaultInjector.dll: a test library that the sweep's launcher (tests/win/support/InjectedStart.h) loads into
// an unmodified Update.exe before its first instruction. It points the import tables of Update.exe and
// TkZip.dll at its stand-ins for their file calls (GetProcAddress included, for calls looked up at run
// time), counts every such call and fails the one the plan names (FaultPlan.h). The launcher parks the
// program's entry on a jump to itself; finding it parked proves the program has not run yet, and telling
// the launcher through the event "FaultInjectorIn-<process id>" lets it put the entry back.
#include <windows.h>

#include <string>

#include "FileHooksWin32.h"
#include "ImportPatchWin32.h"
#include "OperationLedgerWin32.h"

namespace {

OperationLedger* ledger = nullptr;

bool EntryParked()
{
    const HMODULE program = GetModuleHandleW(nullptr);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(program);
    const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(reinterpret_cast<const BYTE*>(program) + dos->e_lfanew);
    const BYTE* entry = reinterpret_cast<const BYTE*>(program) + headers->OptionalHeader.AddressOfEntryPoint;
    return entry[0] == 0xEB && entry[1] == 0xFE;
}

void Enter()
{
    if (!EntryParked())
        return;
    const HMODULE program = GetModuleHandleW(nullptr);
    const HMODULE library = GetModuleHandleW(L"TkZip.dll");
    ledger = new OperationLedger(program, library);
    UseLedger(*ledger);
    PatchImports(program);
    if (library != nullptr)
        PatchImports(library);
    const std::wstring name = L"FaultInjectorIn-" + std::to_wstring(GetCurrentProcessId());
    const HANDLE entered = OpenEventW(EVENT_MODIFY_STATE, FALSE, name.c_str());
    SetEvent(entered);
    CloseHandle(entered);
}

} // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        Enter();
    else if (reason == DLL_PROCESS_DETACH && ledger != nullptr)
        ledger->Flush();
    return TRUE;
}
