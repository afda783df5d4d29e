#include "update/EntrySafety.h"

#include <string_view>
#include <vector>

#include "common/AsciiUpper.h"
#include "common/GbkText.h"

namespace {

// The names under which the system opens a device instead of a file, in any folder.
const std::string_view kDeviceNames[] = {
    "CON",  "PRN",  "AUX",  "NUL",  "CONIN$", "CONOUT$",
    "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8", "COM9",
    "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9",
};

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

// The segments between "\" or "/", walking whole GBK characters, so that a second byte of 0x5C is never
// taken for a "\".
std::vector<std::string_view> Segments(std::string_view name)
{
    std::vector<std::string_view> segments;
    std::size_t start = 0;
    for (std::size_t i = 0; i < name.size(); i += GbkCharLength(name, i)) {
        if (IsSeparator(name[i])) {
            segments.push_back(name.substr(start, i - start));
            start = i + 1;
        }
    }
    segments.push_back(name.substr(start));
    return segments;
}

// The number of dots of a segment made of dots and blanks only; -1 for any other segment.
int DotsOfDotsAndBlanks(std::string_view segment)
{
    int dots = 0;
    for (char c : segment) {
        if (c != '.' && c != ' ')
            return -1;
        dots += c == '.';
    }
    return dots;
}

bool IsParentSegment(std::string_view segment)
{
    return DotsOfDotsAndBlanks(segment) >= 2;
}

// A segment that names the folder it lies in: ".", blanks, or nothing.
bool IsCurrentSegment(std::string_view segment)
{
    const int dots = DotsOfDotsAndBlanks(segment);
    return dots == 0 || dots == 1;
}

// The name that the system reads from a segment: up to a ":", without trailing dots and blanks.
std::string_view ReadName(std::string_view segment)
{
    std::string_view name = segment.substr(0, segment.find(':'));
    while (!name.empty() && (name.back() == ' ' || name.back() == '.'))
        name.remove_suffix(1);
    return name;
}

// The device that a segment names, if any: the system reads a segment's name up to its first "." or ":",
// without trailing blanks, so "nul", "NUL.txt", "Com1 .dat" and "CON:" all open devices.
std::string_view DeviceNamed(std::string_view segment)
{
    std::string_view stem = segment.substr(0, segment.find_first_of(".:"));
    while (!stem.empty() && stem.back() == ' ')
        stem.remove_suffix(1);
    const std::string name = AsciiUpperCase(std::string(stem));
    for (std::string_view device : kDeviceNames)
        if (name == device)
            return device;
    return {};
}

} // namespace

std::optional<std::string> UnsafePathReason(const std::string& name)
{
    if (IsAbsolute(name))
        return "\"" + name + "\" is an absolute path, which may lie outside the application folder";
    const std::vector<std::string_view> segments = Segments(name);
    for (std::string_view segment : segments)
        if (IsParentSegment(segment))
            return "\"" + name + "\" has a \"..\" segment, which may lead outside the application folder";
    for (std::string_view segment : segments)
        if (const std::string_view device = DeviceNamed(segment); !device.empty())
            return "\"" + name + "\" names the device \"" + std::string(device) + "\", not a file";
    return std::nullopt;
}

bool MayNameStagingFolder(const std::string& name)
{
    for (std::string_view segment : Segments(name))
        if (!IsCurrentSegment(segment))
            return AsciiUpperCase(std::string(ReadName(segment))) == "UPDATE";
    return false;
}

EUnsafeEntry::EUnsafeEntry(const std::string& entry, const std::string& reason)
    : EAppError("Refused unsafe entry \"" + entry + "\": " + reason) {}
