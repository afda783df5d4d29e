#include "FileHooksWin32.h"

#include <aclapi.h>

#include <cstring>
#include <string>

#include "OperationLedgerWin32.h"

namespace {

OperationLedger* ledger = nullptr;

const unsigned kAll = kAdmitsHold | kAdmitsDiskFull | kAdmitsRefusal;

std::wstring Wide(const char* text)
{
    std::wstring wide(std::strlen(text) + 1, L'\0');
    wide.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(),
                                                             static_cast<int>(wide.size())) - 1));
    return wide;
}

// Only an open for the file's data meets another program's hold without sharing, and only of a file that
// may be there already: nobody holds a name that CREATE_NEW makes.
unsigned OpenAdmits(DWORD access, DWORD disposition)
{
    const DWORD unshared = READ_CONTROL | WRITE_DAC | SYNCHRONIZE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES;
    const bool holdable = (access & ~unshared) != 0 && disposition != CREATE_NEW;
    const bool creates = disposition == CREATE_NEW || disposition == CREATE_ALWAYS;
    return kAdmitsRefusal | (holdable ? unsigned{kAdmitsHold} : 0u) | (creates ? unsigned{kAdmitsDiskFull} : 0u);
}

// A Win32 call that reports failure as `failed` with the last error set.
template <typename Result>
Result Fail(const Verdict& verdict, Result failed)
{
    SetLastError(verdict.error);
    return failed;
}

HANDLE WINAPI OnCreateFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                            DWORD disposition, DWORD flags, HANDLE templateFile)
{
    const Verdict verdict = ledger->BeginOnPath("CreateFile", name, OpenAdmits(access, disposition));
    if (verdict.fails)
        return Fail(verdict, INVALID_HANDLE_VALUE);
    const HANDLE file = CreateFileW(name, access, share, security, disposition, flags, templateFile);
    if (file != INVALID_HANDLE_VALUE)
        ledger->Opened(file, name);
    return file;
}

HANDLE WINAPI OnCreateFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                            DWORD disposition, DWORD flags, HANDLE templateFile)
{
    return OnCreateFileW(Wide(name).c_str(), access, share, security, disposition, flags, templateFile);
}

BOOL WINAPI OnReadFile(HANDLE file, LPVOID buffer, DWORD size, LPDWORD read, LPOVERLAPPED overlapped)
{
    const Verdict verdict = ledger->BeginOnHandle("ReadFile", file, kAdmitsNothing);
    return verdict.fails ? Fail(verdict, FALSE) : ReadFile(file, buffer, size, read, overlapped);
}

BOOL WINAPI OnWriteFile(HANDLE file, LPCVOID buffer, DWORD size, LPDWORD written, LPOVERLAPPED overlapped)
{
    const Verdict verdict = ledger->BeginOnHandle("WriteFile", file, kAdmitsDiskFull);
    return verdict.fails ? Fail(verdict, FALSE) : WriteFile(file, buffer, size, written, overlapped);
}

BOOL WINAPI OnFlushFileBuffers(HANDLE file)
{
    const Verdict verdict = ledger->BeginOnHandle("FlushFileBuffers", file, kAdmitsDiskFull);
    return verdict.fails ? Fail(verdict, FALSE) : FlushFileBuffers(file);
}

BOOL WINAPI OnSetFilePointerEx(HANDLE file, LARGE_INTEGER distance, PLARGE_INTEGER position, DWORD method)
{
    const Verdict verdict = ledger->BeginOnHandle("SetFilePointerEx", file, kAdmitsNothing);
    return verdict.fails ? Fail(verdict, FALSE) : SetFilePointerEx(file, distance, position, method);
}

BOOL WINAPI OnGetFileSizeEx(HANDLE file, PLARGE_INTEGER size)
{
    const Verdict verdict = ledger->BeginOnHandle("GetFileSizeEx", file, kAdmitsNothing);
    return verdict.fails ? Fail(verdict, FALSE) : GetFileSizeEx(file, size);
}

DWORD WINAPI OnGetFileType(HANDLE file)
{
    const Verdict verdict = ledger->BeginOnHandle("GetFileType", file, kAdmitsNothing);
    return verdict.fails ? Fail(verdict, static_cast<DWORD>(FILE_TYPE_UNKNOWN)) : GetFileType(file);
}

BOOL WINAPI OnGetFileTime(HANDLE file, LPFILETIME created, LPFILETIME accessed, LPFILETIME written)
{
    const Verdict verdict = ledger->BeginOnHandle("GetFileTime", file, kAdmitsNothing);
    return verdict.fails ? Fail(verdict, FALSE) : GetFileTime(file, created, accessed, written);
}

BOOL WINAPI OnGetFileInformationByHandle(HANDLE file, LPBY_HANDLE_FILE_INFORMATION information)
{
    const Verdict verdict = ledger->BeginOnHandle("GetFileInformationByHandle", file, kAdmitsNothing);
    return verdict.fails ? Fail(verdict, FALSE) : GetFileInformationByHandle(file, information);
}

BOOL WINAPI OnGetFileInformationByHandleEx(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID information,
                                           DWORD size)
{
    const Verdict verdict = ledger->BeginOnHandle("GetFileInformationByHandleEx", file, kAdmitsNothing);
    return verdict.fails ? Fail(verdict, FALSE) : GetFileInformationByHandleEx(file, kind, information, size);
}

BOOL WINAPI OnSetFileInformationByHandle(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID information,
                                         DWORD size)
{
    const Verdict verdict =
        ledger->BeginOnHandle("SetFileInformationByHandle", file, kAdmitsDiskFull | kAdmitsRefusal);
    return verdict.fails ? Fail(verdict, FALSE) : SetFileInformationByHandle(file, kind, information, size);
}

BOOL WINAPI OnDeleteFileW(LPCWSTR name)
{
    const Verdict verdict = ledger->BeginOnPath("DeleteFile", name, kAdmitsHold | kAdmitsRefusal);
    return verdict.fails ? Fail(verdict, FALSE) : DeleteFileW(name);
}

BOOL WINAPI OnDeleteFileA(LPCSTR name)
{
    return OnDeleteFileW(Wide(name).c_str());
}

BOOL WINAPI OnMoveFileExW(LPCWSTR from, LPCWSTR to, DWORD flags)
{
    const std::wstring destination = to;
    const Verdict verdict = ledger->BeginOnPath("MoveFile", from, kAll, &destination);
    return verdict.fails ? Fail(verdict, FALSE) : MoveFileExW(from, to, flags);
}

BOOL WINAPI OnMoveFileA(LPCSTR from, LPCSTR to)
{
    return OnMoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_COPY_ALLOWED);
}

BOOL WINAPI OnCreateDirectoryW(LPCWSTR name, LPSECURITY_ATTRIBUTES security)
{
    const Verdict verdict = ledger->BeginOnPath("CreateDirectory", name, kAdmitsDiskFull | kAdmitsRefusal);
    return verdict.fails ? Fail(verdict, FALSE) : CreateDirectoryW(name, security);
}

BOOL WINAPI OnCreateDirectoryA(LPCSTR name, LPSECURITY_ATTRIBUTES security)
{
    return OnCreateDirectoryW(Wide(name).c_str(), security);
}

BOOL WINAPI OnRemoveDirectoryW(LPCWSTR name)
{
    const Verdict verdict = ledger->BeginOnPath("RemoveDirectory", name, kAdmitsHold | kAdmitsRefusal);
    return verdict.fails ? Fail(verdict, FALSE) : RemoveDirectoryW(name);
}

DWORD WINAPI OnGetFileAttributesW(LPCWSTR name)
{
    const Verdict verdict = ledger->BeginOnPath("GetFileAttributes", name, kAdmitsRefusal);
    return verdict.fails ? Fail(verdict, INVALID_FILE_ATTRIBUTES) : GetFileAttributesW(name);
}

DWORD WINAPI OnGetFileAttributesA(LPCSTR name)
{
    return OnGetFileAttributesW(Wide(name).c_str());
}

BOOL WINAPI OnGetFileAttributesExW(LPCWSTR name, GET_FILEEX_INFO_LEVELS level, LPVOID information)
{
    const Verdict verdict = ledger->BeginOnPath("GetFileAttributesEx", name, kAdmitsRefusal);
    return verdict.fails ? Fail(verdict, FALSE) : GetFileAttributesExW(name, level, information);
}

BOOL WINAPI OnSetFileAttributesW(LPCWSTR name, DWORD attributes)
{
    const Verdict verdict = ledger->BeginOnPath("SetFileAttributes", name, kAdmitsRefusal);
    return verdict.fails ? Fail(verdict, FALSE) : SetFileAttributesW(name, attributes);
}

HANDLE WINAPI OnFindFirstFileW(LPCWSTR pattern, LPWIN32_FIND_DATAW found)
{
    const std::wstring text = pattern;
    const std::wstring folder = text.substr(0, text.find_last_of(L'\\') + 1);
    const Verdict verdict = ledger->BeginOnPath("FindFirstFile", folder, kAdmitsRefusal);
    if (verdict.fails)
        return Fail(verdict, INVALID_HANDLE_VALUE);
    const HANDLE find = FindFirstFileW(pattern, found);
    if (find != INVALID_HANDLE_VALUE)
        ledger->Opened(find, folder);
    return find;
}

BOOL WINAPI OnFindNextFileW(HANDLE find, LPWIN32_FIND_DATAW found)
{
    const Verdict verdict = ledger->BeginOnHandle("FindNextFile", find, kAdmitsNothing);
    return verdict.fails ? Fail(verdict, FALSE) : FindNextFileW(find, found);
}

BOOL WINAPI OnCreateHardLinkW(LPCWSTR name, LPCWSTR existing, LPSECURITY_ATTRIBUTES security)
{
    const std::wstring source = existing;
    const Verdict verdict = ledger->BeginOnPath("CreateHardLink", name, kAdmitsDiskFull | kAdmitsRefusal, &source);
    return verdict.fails ? Fail(verdict, FALSE) : CreateHardLinkW(name, existing, security);
}

DWORD WINAPI OnGetNamedSecurityInfoW(LPCWSTR name, SE_OBJECT_TYPE type, SECURITY_INFORMATION which, PSID* owner,
                                     PSID* group, PACL* dacl, PACL* sacl, PSECURITY_DESCRIPTOR* descriptor)
{
    const Verdict verdict = ledger->BeginOnPath("GetNamedSecurityInfo", name, kAdmitsRefusal);
    return verdict.fails ? verdict.error
                         : GetNamedSecurityInfoW(name, type, which, owner, group, dacl, sacl, descriptor);
}

DWORD WINAPI OnSetNamedSecurityInfoW(LPWSTR name, SE_OBJECT_TYPE type, SECURITY_INFORMATION which, PSID owner,
                                     PSID group, PACL dacl, PACL sacl)
{
    const Verdict verdict = ledger->BeginOnPath("SetNamedSecurityInfo", name, kAdmitsDiskFull | kAdmitsRefusal);
    return verdict.fails ? verdict.error : SetNamedSecurityInfoW(name, type, which, owner, group, dacl, sacl);
}

DWORD WINAPI OnGetSecurityInfo(HANDLE handle, SE_OBJECT_TYPE type, SECURITY_INFORMATION which, PSID* owner,
                               PSID* group, PACL* dacl, PACL* sacl, PSECURITY_DESCRIPTOR* descriptor)
{
    const Verdict verdict = ledger->BeginOnHandle("GetSecurityInfo", handle, kAdmitsNothing);
    return verdict.fails ? verdict.error : GetSecurityInfo(handle, type, which, owner, group, dacl, sacl, descriptor);
}

BOOL WINAPI OnGetKernelObjectSecurity(HANDLE handle, SECURITY_INFORMATION which, PSECURITY_DESCRIPTOR descriptor,
                                      DWORD size, LPDWORD needed)
{
    const Verdict verdict = ledger->BeginOnHandle("GetKernelObjectSecurity", handle, kAdmitsNothing);
    return verdict.fails ? Fail(verdict, FALSE) : GetKernelObjectSecurity(handle, which, descriptor, size, needed);
}

BOOL WINAPI OnSetKernelObjectSecurity(HANDLE handle, SECURITY_INFORMATION which, PSECURITY_DESCRIPTOR descriptor)
{
    const Verdict verdict =
        ledger->BeginOnHandle("SetKernelObjectSecurity", handle, kAdmitsDiskFull | kAdmitsRefusal);
    return verdict.fails ? Fail(verdict, FALSE) : SetKernelObjectSecurity(handle, which, descriptor);
}

void WINAPI OnSleep(DWORD milliseconds)
{
    Sleep(ledger->SkipsPause(milliseconds, __builtin_return_address(0)) ? 0 : milliseconds);
}

ULONGLONG WINAPI OnGetTickCount64()
{
    return GetTickCount64() + ledger->ClockAhead();
}

DWORD WINAPI OnGetTickCount()
{
    return static_cast<DWORD>(GetTickCount64() + ledger->ClockAhead());
}

FARPROC WINAPI OnGetProcAddress(HMODULE module, LPCSTR name)
{
    const bool byName = reinterpret_cast<ULONG_PTR>(name) > 0xFFFF;
    const FARPROC standIn = byName ? StandInFor(name) : nullptr;
    const FARPROC found = GetProcAddress(module, name);
    return standIn != nullptr && found != nullptr ? standIn : found;
}

template <typename Function>
FARPROC Procedure(Function* function)
{
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(function));
}

const struct {
    const char* name;
    FARPROC standIn;
} StandIns[] = {
    {"CreateFileA", Procedure(OnCreateFileA)},
    {"CreateFileW", Procedure(OnCreateFileW)},
    {"ReadFile", Procedure(OnReadFile)},
    {"WriteFile", Procedure(OnWriteFile)},
    {"FlushFileBuffers", Procedure(OnFlushFileBuffers)},
    {"SetFilePointerEx", Procedure(OnSetFilePointerEx)},
    {"GetFileSizeEx", Procedure(OnGetFileSizeEx)},
    {"GetFileType", Procedure(OnGetFileType)},
    {"GetFileTime", Procedure(OnGetFileTime)},
    {"GetFileInformationByHandle", Procedure(OnGetFileInformationByHandle)},
    {"GetFileInformationByHandleEx", Procedure(OnGetFileInformationByHandleEx)},
    {"SetFileInformationByHandle", Procedure(OnSetFileInformationByHandle)},
    {"DeleteFileA", Procedure(OnDeleteFileA)},
    {"DeleteFileW", Procedure(OnDeleteFileW)},
    {"MoveFileA", Procedure(OnMoveFileA)},
    {"MoveFileExW", Procedure(OnMoveFileExW)},
    {"CreateDirectoryA", Procedure(OnCreateDirectoryA)},
    {"CreateDirectoryW", Procedure(OnCreateDirectoryW)},
    {"RemoveDirectoryW", Procedure(OnRemoveDirectoryW)},
    {"GetFileAttributesA", Procedure(OnGetFileAttributesA)},
    {"GetFileAttributesW", Procedure(OnGetFileAttributesW)},
    {"GetFileAttributesExW", Procedure(OnGetFileAttributesExW)},
    {"SetFileAttributesW", Procedure(OnSetFileAttributesW)},
    {"FindFirstFileW", Procedure(OnFindFirstFileW)},
    {"FindNextFileW", Procedure(OnFindNextFileW)},
    {"CreateHardLinkW", Procedure(OnCreateHardLinkW)},
    {"GetNamedSecurityInfoW", Procedure(OnGetNamedSecurityInfoW)},
    {"SetNamedSecurityInfoW", Procedure(OnSetNamedSecurityInfoW)},
    {"GetSecurityInfo", Procedure(OnGetSecurityInfo)},
    {"GetKernelObjectSecurity", Procedure(OnGetKernelObjectSecurity)},
    {"SetKernelObjectSecurity", Procedure(OnSetKernelObjectSecurity)},
    {"Sleep", Procedure(OnSleep)},
    {"GetTickCount64", Procedure(OnGetTickCount64)},
    {"GetTickCount", Procedure(OnGetTickCount)},
    {"GetProcAddress", Procedure(OnGetProcAddress)},
};

} // namespace

void UseLedger(OperationLedger& used)
{
    ledger = &used;
}

FARPROC StandInFor(const char* name)
{
    for (const auto& entry : StandIns)
        if (std::strcmp(entry.name, name) == 0)
            return entry.standIn;
    return nullptr;
}
