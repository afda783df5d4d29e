#pragma once
// Characters of a GBK (code page 936) byte string. A byte 0x81..0xFE leads a double-byte character and
// takes the next byte with it, whatever that byte is; every other byte is a character of its own. A lead
// byte at the very end, with nothing after it, counts as a character of its own.
#include <cstddef>
#include <string>

// Length in bytes (1 or 2) of the character that starts at `position` (which must lie inside `text`).
std::size_t GbkCharLength(const std::string& text, std::size_t position);

// Offset of the last character of `text` (0 for an empty text). Found by scanning from the start, since a
// trail byte alone cannot tell whether it ends a double-byte character.
std::size_t GbkLastCharStart(const std::string& text);
