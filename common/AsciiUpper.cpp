#include "common/AsciiUpper.h"

char AsciiUpperChar(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string AsciiUpperCase(std::string text)
{
    for (char& c : text)
        c = AsciiUpperChar(c);
    return text;
}
