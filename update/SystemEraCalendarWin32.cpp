#include "update/SystemEraCalendar.h"

#include <windows.h>

#include <charconv>
#include <vector>

namespace {

std::string FormatDate(LCID locale, const LocalTime& when, const char* picture)
{
    SYSTEMTIME date{};
    date.wYear = static_cast<WORD>(when.year);
    date.wMonth = static_cast<WORD>(when.month);
    date.wDay = static_cast<WORD>(when.day);
    date.wDayOfWeek = static_cast<WORD>(when.dayOfWeek);
    char text[256];
    const int length = GetDateFormatA(locale, 0, &date, picture, text, sizeof text);
    return length > 0 ? std::string(text, static_cast<std::size_t>(length - 1)) : std::string();
}

// The characters of an ANSI text, each one or two bytes.
std::vector<std::string> Characters(const std::string& text)
{
    std::vector<std::string> characters;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = IsDBCSLeadByte(static_cast<BYTE>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
        characters.push_back(text.substr(pos, length));
        pos += length;
    }
    return characters;
}

std::string ShortEraName(LCID locale, const std::string& fullName)
{
    const std::vector<std::string> characters = Characters(fullName);
    if (PRIMARYLANGID(LANGIDFROMLCID(locale)) == LANG_JAPANESE && !characters.empty())
        return characters.front();
    if (PRIMARYLANGID(LANGIDFROMLCID(locale)) == LANG_CHINESE &&
        SUBLANGID(LANGIDFROMLCID(locale)) == SUBLANG_CHINESE_TRADITIONAL && characters.size() == 4)
        return characters[2] + characters[3];
    return fullName;
}

class SystemEras : public EraCalendar {
public:
    explicit SystemEras(LCID locale) : locale_(locale) {}

    bool EraOf(const LocalTime& when, std::string& shortName, std::string& fullName, int& yearInEra) const override
    {
        const std::string name = FormatDate(locale_, when, "gg");
        const std::string year = FormatDate(locale_, when, "yyyy");
        int value = 0;
        const auto parsed = std::from_chars(year.data(), year.data() + year.size(), value);
        if (name.empty() || parsed.ec != std::errc() || parsed.ptr != year.data() + year.size())
            return false;
        fullName = name;
        shortName = ShortEraName(locale_, name);
        yearInEra = value;
        return true;
    }

private:
    LCID locale_;
};

} // namespace

std::shared_ptr<const EraCalendar> SystemEraCalendar(unsigned localeId)
{
    return std::make_shared<const SystemEras>(static_cast<LCID>(localeId));
}
