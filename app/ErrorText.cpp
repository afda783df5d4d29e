#include "app/ErrorText.h"

#include "common/GbkText.h"

namespace {

// Offset of the last character, found by walking whole characters from the start, since a trail byte
// alone cannot tell whether it ends a double-byte character.
std::size_t LastCharStart(const std::string& text)
{
    std::size_t start = 0;
    for (std::size_t next = 0; next < text.size(); next += GbkCharLength(text, next))
        start = next;
    return start;
}

} // namespace

std::string ErrorText(const std::string& message)
{
    if (message.empty() || message.substr(LastCharStart(message)) <= ".")
        return message;
    return message + ".";
}
