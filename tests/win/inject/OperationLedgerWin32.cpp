#include "OperationLedgerWin32.h"

#include <cwctype>

namespace {

std::wstring Environment(const wchar_t* name)
{
    wchar_t value[1024] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, 1024);
    return length > 0 && length < 1024 ? value : L"";
}

std::string Utf8(const std::wstring& text)
{
    std::string bytes(text.size() * 3, '\0');
    bytes.resize(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                                              bytes.data(), static_cast<int>(bytes.size()), nullptr,
                                                              nullptr)));
    return bytes;
}

std::wstring Lower(std::wstring text)
{
    for (wchar_t& unit : text)
        unit = static_cast<wchar_t>(std::towlower(unit));
    return text;
}

std::wstring FullPath(const std::wstring& path)
{
    wchar_t full[MAX_PATH * 2] = {};
    const DWORD length = GetFullPathNameW(path.c_str(), MAX_PATH * 2, full, nullptr);
    return length > 0 && length < MAX_PATH * 2 ? full : path;
}

std::wstring ModuleFolder(HMODULE module)
{
    wchar_t path[MAX_PATH] = {};
    const std::wstring name(path, GetModuleFileNameW(module, path, MAX_PATH));
    return Lower(name.substr(0, name.find_last_of(L'\\') + 1));
}

bool AllDigits(const std::wstring& text)
{
    return !text.empty() && text.find_first_not_of(L"0123456789") == std::wstring::npos;
}

const wchar_t Temporaries[] = L"update\\~upd\\";

} // namespace

OperationLedger::OperationLedger(HMODULE program, HMODULE library)
    : program_(program), library_(library), folder_(ModuleFolder(program)), tracePath_(Environment(L"FAULT_TRACE"))
{
    InitializeCriticalSection(&lock_);
    kind_ = FaultKindNamed(Utf8(Environment(L"FAULT_KIND")));
    at_ = Utf8(Environment(L"FAULT_AT"));
}

OperationLedger::~OperationLedger()
{
    DeleteCriticalSection(&lock_);
}

Verdict OperationLedger::BeginOnPath(const char* function, const std::wstring& path, unsigned admits,
                                     const std::wstring* destination)
{
    EnterCriticalSection(&lock_);
    const std::wstring file = FileOf(path);
    std::wstring destinationFile;
    if (destination != nullptr)
        destinationFile = FileOf(*destination);
    const Verdict verdict = Begin(function, file, admits, destination != nullptr ? &destinationFile : nullptr);
    LeaveCriticalSection(&lock_);
    return verdict;
}

Verdict OperationLedger::BeginOnHandle(const char* function, HANDLE handle, unsigned admits)
{
    EnterCriticalSection(&lock_);
    const auto known = handles_.find(handle);
    const Verdict verdict = Begin(function, known != handles_.end() ? known->second : L"<handle>", admits, nullptr);
    LeaveCriticalSection(&lock_);
    return verdict;
}

void OperationLedger::Opened(HANDLE handle, const std::wstring& path)
{
    EnterCriticalSection(&lock_);
    const std::wstring file = FileOf(path);
    handles_[handle] = file;
    if (file.rfind(Temporaries, 0) != 0)
        lastOpened_[GetCurrentThreadId()] = file;
    LeaveCriticalSection(&lock_);
}

Verdict OperationLedger::Begin(const char* function, const std::wstring& file, unsigned admits,
                               const std::wstring* destination)
{
    const std::string name = std::string(function) + "|" + Utf8(file);
    const std::string key = name + "|" + std::to_string(++occurrences_[name]);
    trace_ += "op " + key + " " + std::to_string(admits) + "\n";
    const Verdict verdict = Decide(key, file, admits, destination);
    if (verdict.fails)
        faultedThreads_.insert(GetCurrentThreadId());
    else
        faultedThreads_.erase(GetCurrentThreadId());
    return verdict;
}

Verdict OperationLedger::Decide(const std::string& key, const std::wstring& file, unsigned admits,
                                const std::wstring* destination)
{
    if (kind_ == FaultKind::None)
        return {};
    if (!begun_ && key == at_) {
        begun_ = true;
        trace_ += std::string("fault ") + FaultKindName(kind_) + " " + key + (Admits(admits, kind_) ? "" : " n/a") + "\n";
        if (kind_ == FaultKind::Kill) {
            Flush();
            TerminateProcess(GetCurrentProcess(), 1);
        }
        faulted_ = file;
        if (Admits(admits, kind_))
            return {true, FaultError(kind_, false)};
    }
    if (!begun_ || kind_ == FaultKind::HoldOnce || !Admits(admits, kind_))
        return {};
    if (kind_ == FaultKind::DiskFull || file == faulted_)
        return {true, FaultError(kind_, false)};
    if (destination != nullptr && *destination == faulted_)
        return {true, FaultError(kind_, true)};
    return {};
}

std::wstring OperationLedger::FileOf(const std::wstring& path)
{
    const std::wstring full = Lower(FullPath(path));
    if (full.rfind(folder_, 0) != 0)
        return full;
    const std::wstring relative = full.substr(folder_.size());
    if (relative.rfind(Temporaries, 0) != 0)
        return relative;
    return TemporaryName(full, relative.substr(sizeof Temporaries / sizeof *Temporaries - 1));
}

// "<process>-<serial>.tmp" (a temporary), "<process>-aside-<serial>-<origin>.tmp" (an image put aside),
// "<process>-<kind>-<rest>.tmp" (a kept name); any other name stays.
std::wstring OperationLedger::TemporaryName(const std::wstring& full, const std::wstring& name)
{
    const std::size_t dash = name.find(L'-');
    const std::size_t dot = name.rfind(L".tmp");
    if (dash == std::wstring::npos || dot == std::wstring::npos || !AllDigits(name.substr(0, dash)))
        return std::wstring(Temporaries) + name;
    const std::wstring rest = name.substr(dash + 1, dot - dash - 1);
    if (rest.rfind(L"aside-", 0) == 0)
        return std::wstring(Temporaries) + L"aside-" + rest.substr(rest.find(L'-', 6) + 1);
    if (!AllDigits(rest))
        return std::wstring(Temporaries) + rest;
    const auto known = temporaries_.find(full);
    if (known != temporaries_.end())
        return known->second;
    const std::wstring named = std::wstring(Temporaries) + L"tmp(" + lastOpened_[GetCurrentThreadId()] + L")";
    temporaries_[full] = named;
    return named;
}

bool OperationLedger::SkipsPause(DWORD milliseconds, const void* caller)
{
    EnterCriticalSection(&lock_);
    const bool skips = milliseconds > 0 && faultedThreads_.count(GetCurrentThreadId()) != 0;
    if (skips) {
        HMODULE module = nullptr;
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           static_cast<LPCWSTR>(caller), &module);
        ahead_ += milliseconds;
        (module == library_ ? waitedLibrary_ : waitedProgram_) += milliseconds;
    }
    LeaveCriticalSection(&lock_);
    return skips;
}

ULONGLONG OperationLedger::ClockAhead()
{
    EnterCriticalSection(&lock_);
    const ULONGLONG ahead = ahead_;
    LeaveCriticalSection(&lock_);
    return ahead;
}

void OperationLedger::Flush()
{
    if (tracePath_.empty())
        return;
    const std::string text = trace_ + "waited Update.exe " + std::to_string(waitedProgram_) + "\nwaited TkZip.dll " +
                             std::to_string(waitedLibrary_) + "\nend\n";
    const HANDLE file = CreateFileW(tracePath_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    FlushFileBuffers(file);
    CloseHandle(file);
}
