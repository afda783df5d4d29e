#include "common/Decipher.h"

#include "common/AsciiUpper.h"

namespace {

constexpr char HexDigits[] = "0123456789ABCDEF";

int DigitValue(char digit)
{
    for (int value = 0; value < 16; ++value)
        if (HexDigits[value] == digit)
            return value;
    return -1;
}

std::uint16_t NextKey(std::uint16_t key, unsigned addend)
{
    return static_cast<std::uint16_t>((key + addend) * 19u + 17u);
}

} // namespace

std::string HexToText(const std::string& text)
{
    const std::string digits = AsciiUpperCase(text);
    std::string bytes;
    bytes.reserve(digits.size() / 2 + 1);
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const int high = DigitValue(digits[i]);
        const int low = i + 1 < digits.size() ? DigitValue(digits[i + 1]) : 0;
        if (high < 0 || low < 0)
            return std::string();
        const bool lastAlone = i + 1 == digits.size();
        bytes.push_back(static_cast<char>(lastAlone ? high : high * 16 + low));
    }
    return bytes;
}

std::string DecipherText(const std::string& text, std::uint16_t key)
{
    std::string result = HexToText(text);
    for (char& byte : result) {
        const unsigned c = static_cast<unsigned char>(byte);
        const unsigned mask = key >> 12;
        if (c == mask) {
            key = NextKey(key, 0);
        } else {
            byte = static_cast<char>(c ^ mask);
            key = NextKey(key, c);
        }
    }
    return result;
}
