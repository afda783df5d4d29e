#include "common/AccessRulesWin32.h"

#include <windows.h>

#include <aclapi.h>

#include <vector>

void CopyAccessRules(const std::wstring& model, const std::wstring& file)
{
    DWORD needed = 0;
    GetFileSecurityW(model.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    std::vector<unsigned char> descriptor(needed);
    if (needed != 0 && GetFileSecurityW(model.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), needed, &needed))
        SetFileSecurityW(file.c_str(), DACL_SECURITY_INFORMATION, descriptor.data());
}

void InheritAccessRules(const std::wstring& file)
{
    ACL none{};
    if (InitializeAcl(&none, sizeof none, ACL_REVISION))
        SetNamedSecurityInfoW(const_cast<wchar_t*>(file.c_str()), SE_FILE_OBJECT,
                              DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr,
                              &none, nullptr);
}
