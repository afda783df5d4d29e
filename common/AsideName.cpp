#include "common/AsideName.h"

#include <cwctype>

namespace {

const wchar_t kMark[] = L"-aside-";
const std::size_t kMarkLength = sizeof kMark / sizeof kMark[0] - 1;
const wchar_t kEnd[] = L".tmp";
const std::size_t kEndLength = sizeof kEnd / sizeof kEnd[0] - 1;
// Ten digits each for the process id and the serial leave room in a name of 255 units for 55 of the origin.
const std::size_t kLongestOrigin = 55;
const wchar_t kDigits[] = L"0123456789abcdef";

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

} // namespace

bool FitsAsideName(const std::wstring& origin)
{
    if (origin.empty() || origin.size() > kLongestOrigin || IsSeparator(origin[0]) ||
        origin.find(L':') != std::wstring::npos)
        return false;
    for (std::size_t start = 0; start <= origin.size();) {
        std::size_t end = start;
        while (end < origin.size() && !IsSeparator(origin[end]))
            ++end;
        if (origin.compare(start, end - start, L"..") == 0)
            return false;
        start = end + 1;
    }
    return true;
}

namespace {

// The position after the digits that start `text` at `from`; `from` itself when there are none.
std::size_t AfterDigits(const std::wstring& text, std::size_t from)
{
    while (from < text.size() && std::iswdigit(text[from]))
        ++from;
    return from;
}

int HexValue(wchar_t c)
{
    for (int value = 0; value < 16; ++value)
        if (kDigits[value] == c)
            return value;
    return -1;
}

// Four hex digits per unit, back into the units; false on any other text.
bool Decode(const std::wstring& hex, std::wstring& text)
{
    if (hex.size() % 4 != 0)
        return false;
    text.clear();
    for (std::size_t i = 0; i < hex.size(); i += 4) {
        unsigned unit = 0;
        for (std::size_t j = i; j < i + 4; ++j) {
            const int value = HexValue(hex[j]);
            if (value < 0)
                return false;
            unit = unit * 16 + static_cast<unsigned>(value);
        }
        text += static_cast<wchar_t>(unit);
    }
    return true;
}

} // namespace

std::wstring AsideName(unsigned long processId, unsigned serial, const std::wstring& origin)
{
    if (!FitsAsideName(origin))
        return L"";
    std::wstring name = std::to_wstring(processId) + kMark + std::to_wstring(serial) + L"-";
    for (const wchar_t unit : origin)
        for (int shift = 12; shift >= 0; shift -= 4)
            name += kDigits[(static_cast<unsigned>(unit) >> shift) & 0xF];
    return name + kEnd;
}

bool IsAsideName(const std::wstring& name)
{
    const std::size_t mark = AfterDigits(name, 0);
    return mark > 0 && name.compare(mark, kMarkLength, kMark) == 0;
}

bool AsideOrigin(const std::wstring& name, std::wstring& origin)
{
    if (!IsAsideName(name) || name.size() < kEndLength || name.compare(name.size() - kEndLength, kEndLength, kEnd) != 0)
        return false;
    const std::size_t serial = AfterDigits(name, 0) + kMarkLength;
    const std::size_t dash = AfterDigits(name, serial);
    if (dash == serial || dash >= name.size() || name[dash] != L'-')
        return false;
    const std::size_t hex = dash + 1;
    return Decode(name.substr(hex, name.size() - kEndLength - hex), origin) && FitsAsideName(origin);
}
