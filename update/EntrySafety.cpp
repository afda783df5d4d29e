#include "update/EntrySafety.h"

#include "common/GbkText.h"

namespace {

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
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

// Walks whole GBK characters, so that a second byte of 0x5C is never taken for a "\".
bool HasParentSegment(const std::string& name)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < name.size(); i += GbkCharLength(name, i)) {
        if (!IsSeparator(name[i]))
            continue;
        if (IsParentSegment(name.substr(start, i - start)))
            return true;
        start = i + 1;
    }
    return IsParentSegment(name.substr(start));
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
