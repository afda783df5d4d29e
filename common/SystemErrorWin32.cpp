#include "common/SystemError.h"

#include <windows.h>

#include "common/Errors.h"

std::string SystemErrorText(unsigned long code)
{
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
            FORMAT_MESSAGE_ARGUMENT_ARRAY,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string result = length != 0 && text != nullptr ? std::string(text, length) : std::string();
    if (text != nullptr)
        LocalFree(text);
    return TrimSystemReason(result);
}
