#include "app/ApplicationTitle.h"

#include <windows.h>

namespace {

std::string OemToAnsi(std::string text)
{
    OemToCharBuffA(text.data(), text.data(), static_cast<DWORD>(text.size()));
    return text;
}

std::string SystemLowerCase(const std::string& text)
{
    std::string lower = text;
    CharLowerBuffA(lower.data(), static_cast<DWORD>(lower.size()));
    return lower;
}

} // namespace

std::string SystemApplicationTitle(const std::string& programPath)
{
    return ApplicationTitle(OemToAnsi(programPath), SystemLowerCase);
}
