#pragma once
// Byte-level facts about GBK text (code page 936): the character rules that patterns, folder cuts and
// error texts walk by.
#include <cstddef>
#include <string_view>

// A byte from 0x81 to 0xFE starts a two-byte character.
inline bool IsGbkLeadByte(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x81 && byte <= 0xFE;
}

// The length of the character starting at `pos`: two for a lead byte with a byte after it, else one.
inline std::size_t GbkCharLength(std::string_view text, std::size_t pos)
{
    return IsGbkLeadByte(text[pos]) && pos + 1 < text.size() ? 2 : 1;
}

inline char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline bool IsAsciiLetter(char c)
{
    const char lower = AsciiLower(c);
    return lower >= 'a' && lower <= 'z';
}

// True when `text` starts with `word` (lower-case ASCII), ASCII case ignored.
inline bool StartsWithNoCase(std::string_view text, std::string_view word)
{
    if (text.size() < word.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (AsciiLower(text[i]) != word[i])
            return false;
    return true;
}
