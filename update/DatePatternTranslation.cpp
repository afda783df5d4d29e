#include "update/DatePatternTranslation.h"

#include "common/GbkText.h"

namespace {

constexpr unsigned LangChinese = 4;
constexpr unsigned LangJapanese = 17;
constexpr unsigned LangKorean = 18;

std::string ToEraYears(std::string_view pattern)
{
    static constexpr struct {
        std::string_view from;
        std::string_view to;
    } Replacements[] = {{"gg", "ggg"}, {"yyyy", "eeee"}, {"yy", "ee"}, {"y", "e"}};
    std::string result;
    std::size_t pos = 0;
    while (pos < pattern.size()) {
        const std::string_view rest = pattern.substr(pos);
        std::size_t taken = GbkCharLength(pattern, pos);
        std::string_view output = rest.substr(0, taken);
        for (const auto& replacement : Replacements)
            if (taken == 1 && StartsWithNoCase(rest, replacement.from)) {
                taken = replacement.from.size();
                output = replacement.to;
                break;
            }
        result += output;
        pos += taken;
    }
    return result;
}

std::string WithoutEraNames(std::string_view pattern)
{
    std::string result;
    for (std::size_t pos = 0; pos < pattern.size();) {
        const std::size_t length = GbkCharLength(pattern, pos);
        if (length > 1 || AsciiLower(pattern[pos]) != 'g')
            result += pattern.substr(pos, length);
        pos += length;
    }
    return result;
}

} // namespace

std::string TranslateDatePattern(std::string_view pattern, int calendarType, unsigned primaryLanguage)
{
    if (calendarType >= 3 && calendarType <= 5)
        return ToEraYears(pattern);
    if (primaryLanguage == LangChinese || primaryLanguage == LangJapanese || primaryLanguage == LangKorean)
        return WithoutEraNames(pattern);
    return std::string(pattern);
}
