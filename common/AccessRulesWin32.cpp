#include "common/AccessRulesWin32.h"

#include <windows.h>

#include <aclapi.h>

#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace {

using Rules = std::optional<std::vector<unsigned char>>;

// A folder's own rules as bytes, empty when it has no list of rules; nothing when they cannot be read.
Rules OwnRules(const std::wstring& folder)
{
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                              nullptr, &descriptor) != ERROR_SUCCESS)
        return std::nullopt;
    Rules rules;
    ACL_SIZE_INFORMATION size{};
    const auto* bytes = reinterpret_cast<const unsigned char*>(dacl);
    if (dacl == nullptr)
        rules.emplace();
    else if (GetAclInformation(dacl, &size, sizeof size, AclSizeInformation))
        rules.emplace(bytes, bytes + size.AclBytesInUse);
    LocalFree(descriptor);
    return rules;
}

// Per pair of folders (where a file goes, where it was written): whether they hand down the same rules.
std::map<std::pair<std::wstring, std::wstring>, bool>& KnownFolders()
{
    static std::map<std::pair<std::wstring, std::wstring>, bool> known;
    return known;
}

bool HandDownTheSame(const std::wstring& folder, const std::wstring& writtenIn)
{
    const auto key = std::make_pair(folder, writtenIn);
    const auto found = KnownFolders().find(key);
    if (found != KnownFolders().end())
        return found->second;
    const Rules there = OwnRules(folder);
    const bool same = there && there == OwnRules(writtenIn);
    KnownFolders().emplace(key, same);
    return same;
}

} // namespace

// The handle calls are those that GetFileSecurityW and SetFileSecurityW make once they have opened the file.
void CopyAccessRules(HANDLE model, HANDLE file)
{
    DWORD needed = 0;
    GetKernelObjectSecurity(model, DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    std::vector<unsigned char> descriptor(needed);
    if (needed != 0 && GetKernelObjectSecurity(model, DACL_SECURITY_INFORMATION, descriptor.data(), needed, &needed))
        SetKernelObjectSecurity(file, DACL_SECURITY_INFORMATION, descriptor.data());
}

void InheritAccessRules(const std::wstring& file, const std::wstring& folder, const std::wstring& writtenIn)
{
    if (HandDownTheSame(folder, writtenIn))
        return;
    ACL none{};
    if (InitializeAcl(&none, sizeof none, ACL_REVISION))
        SetNamedSecurityInfoW(const_cast<wchar_t*>(file.c_str()), SE_FILE_OBJECT,
                              DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr,
                              &none, nullptr);
}

void ForgetHandedDownRules()
{
    KnownFolders().clear();
}
