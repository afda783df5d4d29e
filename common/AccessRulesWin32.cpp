#include "common/AccessRulesWin32.h"

#include <windows.h>

#include <aclapi.h>

#include <vector>

// The handle calls are those that GetFileSecurityW and SetFileSecurityW make once they have opened the file.
void CopyAccessRules(HANDLE model, HANDLE file)
{
    DWORD needed = 0;
    GetKernelObjectSecurity(model, DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    std::vector<unsigned char> descriptor(needed);
    if (needed != 0 && GetKernelObjectSecurity(model, DACL_SECURITY_INFORMATION, descriptor.data(), needed, &needed))
        SetKernelObjectSecurity(file, DACL_SECURITY_INFORMATION, descriptor.data());
}

void InheritAccessRules(const std::wstring& file)
{
    ACL none{};
    if (InitializeAcl(&none, sizeof none, ACL_REVISION))
        SetNamedSecurityInfoW(const_cast<wchar_t*>(file.c_str()), SE_FILE_OBJECT,
                              DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr,
                              &none, nullptr);
}
