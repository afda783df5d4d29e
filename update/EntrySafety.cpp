#include "update/EntrySafety.h"

namespace {

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsAbsolute(const std::string& name)
{
    if (!name.empty() && IsSeparator(name[0]))
        return true;
    return name.size() >= 2 && IsAsciiLetter(name[0]) && name[1] == ':';
}

bool IsParentSegment(const std::string& segment)
{
    std::size_t dots = 0;
    for (char c : segment) {
        if (c != '.' && c != ' ')
            return false;
        dots += c == '.';
    }
    return dots >= 2;
}

bool HasParentSegment(const std::string& name)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i <= name.size(); ++i) {
        if (i < name.size() && !IsSeparator(name[i]))
            continue;
        if (IsParentSegment(name.substr(start, i - start)))
            return true;
        start = i + 1;
    }
    return false;
}

} // namespace

std::optional<std::string> UnsafePathReason(const std::string& name)
{
    if (IsAbsolute(name))
        return "\"" + name + "\" is an absolute path, which may lie outside the application folder";
    if (HasParentSegment(name))
        return "\"" + name + "\" has a \"..\" segment, which may lead outside the application folder";
    return std::nullopt;
}

EUnsafeEntry::EUnsafeEntry(const std::string& entry, const std::string& reason)
    : EAppError("Refused unsafe entry \"" + entry + "\": " + reason) {}
