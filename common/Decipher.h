#pragma once
// The decoder of the program's enciphered texts: hexadecimal digits to bytes, then a keyed byte-stream
// cipher with a 16-bit key. Both are pure and raise no error; a text that is not all hexadecimal digits
// decodes to the empty string. The program holds only this direction; tools/encipher.py is the inverse.
#include <cstdint>
#include <string>

// Upper-cases the text (AsciiUpperCase) and turns each pair of digits, high digit first, into a byte.
// An odd last digit becomes a byte of its own (0 to 15). Any byte that is not one of "0123456789ABCDEF"
// after upper-casing, wherever it stands, gives the empty string.
std::string HexToText(const std::string& text);

// Deciphers HexToText(text) with the key. For each enciphered byte c, with mask = working key >> 12:
// a byte equal to the mask passes unchanged and the key becomes key * 19 + 17; any other byte becomes
// c ^ mask and the key becomes (key + c) * 19 + 17. All key arithmetic wraps modulo 65536.
std::string DecipherText(const std::string& text, std::uint16_t key);
