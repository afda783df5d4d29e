#include "tkzip/MemberChoice.h"

#include <algorithm>

#include "common/AsciiUpper.h"

namespace {

bool IsFile(const std::string& name)
{
    return !name.empty() && name.back() != '/';
}

bool NameMatches(const std::string& memberName, const std::vector<std::string>& targetNames)
{
    const std::string component = AsciiUpperCase(LastPathComponent(memberName));
    return std::any_of(targetNames.begin(), targetNames.end(),
                       [&](const std::string& target) { return AsciiUpperCase(target) == component; });
}

} // namespace

std::string LastPathComponent(const std::string& memberName)
{
    const std::size_t separator = memberName.rfind('/');
    return separator == std::string::npos ? memberName : memberName.substr(separator + 1);
}

std::optional<std::size_t> ChooseMember(const std::vector<std::string>& memberNames,
                                        const std::vector<std::string>& targetNames)
{
    std::vector<std::size_t> files;
    for (std::size_t i = 0; i < memberNames.size(); ++i)
        if (IsFile(memberNames[i]))
            files.push_back(i);
    if (files.size() == 1)
        return files.front();
    for (std::size_t index : files)
        if (NameMatches(memberNames[index], targetNames))
            return index;
    return std::nullopt;
}
