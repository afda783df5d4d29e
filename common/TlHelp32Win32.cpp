#include "common/TlHelp32.h"

#include <iterator>

namespace TlHelp32 {
namespace {

// Resolved in this order; the indexes below name the three the program calls.
const char* const EntryNames[] = {
    "CreateToolhelp32Snapshot", "Heap32ListFirst", "Heap32ListNext", "Heap32First",
    "Heap32Next", "Toolhelp32ReadProcessMemory", "Process32First", "Process32Next",
    "Process32FirstW", "Process32NextW", "Thread32First", "Thread32Next",
    "Module32First", "Module32Next", "Module32FirstW", "Module32NextW",
};
constexpr int CreateSnapshotIndex = 0;
constexpr int ProcessFirstIndex = 6;
constexpr int ProcessNextIndex = 7;

struct Binding {
    HMODULE kernel = nullptr;
    FARPROC entries[std::size(EntryNames)] = {};
};

Binding binding;

void EnsureBound()
{
    if (binding.kernel)
        return;
    binding.kernel = GetModuleHandleA("kernel32.dll");
    if (!binding.kernel)
        return;
    for (std::size_t i = 0; i < std::size(EntryNames); ++i)
        binding.entries[i] = GetProcAddress(binding.kernel, EntryNames[i]);
}

// The entry point at index, or null when it or the toolhelp functions as a whole are unavailable.
template <typename Function>
Function Entry(int index)
{
    EnsureBound();
    if (!binding.kernel || !binding.entries[CreateSnapshotIndex] || !binding.entries[index])
        return nullptr;
    // Through a generic function pointer type, which converts to any other without a warning.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(binding.entries[index]));
}

using SnapshotFunction = HANDLE(WINAPI*)(DWORD, DWORD);
using ProcessWalkFunction = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);

} // namespace

HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD processId)
{
    const auto function = Entry<SnapshotFunction>(CreateSnapshotIndex);
    return function ? function(flags, processId) : nullptr;
}

BOOL Process32First(HANDLE snapshot, PROCESSENTRY32* entry)
{
    const auto function = Entry<ProcessWalkFunction>(ProcessFirstIndex);
    return function ? function(snapshot, entry) : FALSE;
}

BOOL Process32Next(HANDLE snapshot, PROCESSENTRY32* entry)
{
    const auto function = Entry<ProcessWalkFunction>(ProcessNextIndex);
    return function ? function(snapshot, entry) : FALSE;
}

} // namespace TlHelp32
