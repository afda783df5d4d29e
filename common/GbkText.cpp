#include "common/GbkText.h"

namespace {

bool IsLeadByte(char byte)
{
    const unsigned char value = static_cast<unsigned char>(byte);
    return value >= 0x81 && value <= 0xFE;
}

} // namespace

std::size_t GbkCharLength(const std::string& text, std::size_t position)
{
    return IsLeadByte(text[position]) && position + 1 < text.size() ? 2 : 1;
}

std::size_t GbkLastCharStart(const std::string& text)
{
    std::size_t start = 0;
    for (std::size_t next = 0; next < text.size(); next += GbkCharLength(text, next))
        start = next;
    return start;
}
