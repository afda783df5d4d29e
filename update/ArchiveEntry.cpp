#include "update/ArchiveEntry.h"

namespace {

const std::string kArchiveSuffix = ".zip";

// The 1-based position of the first ".", 0 when there is none.
long FirstDotPosition(const std::string& text)
{
    const std::size_t found = text.find('.');
    return found == std::string::npos ? 0 : static_cast<long>(found) + 1;
}

// `count` bytes from the 1-based position `start`: a start before the first byte starts at the first
// byte, a count below one or a start past the end gives nothing.
std::string CopyFrom(const std::string& text, long start, long count)
{
    if (start < 1)
        start = 1;
    if (count < 1 || start > static_cast<long>(text.size()))
        return std::string();
    return text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(count));
}

std::string UnderscoredTarget(const std::string& entry)
{
    std::string name = CopyFrom(entry, 1, FirstDotPosition(entry) - 1);
    for (char& c : name)
        if (c == '_')
            c = '.';
    return name;
}

std::string FusedExtensionTarget(const std::string& entry)
{
    const long dot = FirstDotPosition(entry);
    return CopyFrom(entry, 1, dot - 4) + "." + CopyFrom(entry, dot - 3, 3);
}

} // namespace

bool IsArchiveEntry(const std::string& entry)
{
    return entry.size() >= kArchiveSuffix.size() &&
           entry.compare(entry.size() - kArchiveSuffix.size(), kArchiveSuffix.size(), kArchiveSuffix) == 0;
}

ArchiveTarget ArchiveTargetOf(const std::string& entry)
{
    if (entry.find('_') != std::string::npos)
        return {UnderscoredTarget(entry), true};
    return {FusedExtensionTarget(entry), false};
}
