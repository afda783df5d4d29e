#include "app/ApplicationTitle.h"

#include "common/GbkText.h"

namespace {

// Start of the part after the last "\" that is a character of its own: a GBK trail byte may be 0x5C.
std::size_t FileNameStart(const std::string& path)
{
    std::size_t start = 0;
    for (std::size_t at = 0; at < path.size(); at += GbkCharLength(path, at)) {
        if (path[at] == '\\')
            start = at + 1;
    }
    return start;
}

std::string FileNameBeforeFirstDot(const std::string& path)
{
    const std::string name = path.substr(FileNameStart(path));
    return name.substr(0, name.find('.'));
}

} // namespace

std::string ApplicationTitle(const std::string& programPath, const LowerCaseFunction& lowerCase)
{
    const std::string name = FileNameBeforeFirstDot(programPath);
    if (name.empty())
        return name;
    const std::size_t first = GbkCharLength(name, 0);
    return name.substr(0, first) + lowerCase(name.substr(first));
}
