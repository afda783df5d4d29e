#include "update/RegionalSettings.h"

#include <charconv>
#include <string_view>

#include "update/DatePatternTranslation.h"

// Decisions where the rules are silent: a numeric item parses as an optionally signed decimal integer
// filling the whole item (no blanks); an item that is not a separator is fetched whole, however long.
namespace {

constexpr std::size_t WholeItem = std::string::npos;
constexpr unsigned LangEnglish = 9;

LocaleItem Nth(LocaleItem first, std::size_t index)
{
    return static_cast<LocaleItem>(static_cast<unsigned>(first) + static_cast<unsigned>(index));
}

std::string TextOr(LocaleSource& source, LocaleItem item, const std::string& fallback)
{
    return source.Item(item, WholeItem).value_or(fallback);
}

// Names that the locale leaves out, or gives empty, keep their defaults.
std::string NameOr(LocaleSource& source, LocaleItem item, const std::string& fallback)
{
    const std::optional<std::string> name = source.Item(item, WholeItem);
    return name && !name->empty() ? *name : fallback;
}

// The first byte of a one-byte item; NUL for an empty one; the default when it cannot be fetched.
char SeparatorOr(LocaleSource& source, LocaleItem item, char fallback)
{
    const std::optional<std::string> text = source.Item(item, 1);
    return text ? (text->empty() ? '\0' : text->front()) : fallback;
}

int NumberOr(LocaleSource& source, LocaleItem item, const char* fallback, int unparsable)
{
    const std::string text = TextOr(source, item, fallback);
    const char* end = text.data() + text.size();
    const char* begin = text.data() + (!text.empty() && text.front() == '+' ? 1 : 0);
    int value = 0;
    const auto result = std::from_chars(begin, end, value);
    return result.ec == std::errc() && result.ptr == end && begin != end ? value : unparsable;
}

unsigned PrimaryLanguage(unsigned localeId)
{
    return (localeId & 0xFFFF) == 0 ? LangEnglish : localeId & 0x3FF;
}

void ReadNames(LocaleSource& source, FormatSettings& settings)
{
    for (std::size_t i = 0; i < 12; ++i) {
        settings.shortMonthNames[i] = NameOr(source, Nth(LocaleItem::SAbbrevMonthName1, i), settings.shortMonthNames[i]);
        settings.longMonthNames[i] = NameOr(source, Nth(LocaleItem::SMonthName1, i), settings.longMonthNames[i]);
    }
    // The locale numbers its days from Monday; its seventh day, Sunday, comes first here.
    for (std::size_t i = 0; i < 7; ++i) {
        const std::size_t localeDay = (i + 6) % 7;
        settings.shortDayNames[i] = NameOr(source, Nth(LocaleItem::SAbbrevDayName1, localeDay), settings.shortDayNames[i]);
        settings.longDayNames[i] = NameOr(source, Nth(LocaleItem::SDayName1, localeDay), settings.longDayNames[i]);
    }
}

void ReadDatePatterns(LocaleSource& source, FormatSettings& settings)
{
    const int calendarType = NumberOr(source, LocaleItem::ICalendarType, "1", 1);
    const unsigned language = PrimaryLanguage(source.LocaleId());
    settings.shortDateFormat = TranslateDatePattern(TextOr(source, LocaleItem::SShortDate, settings.shortDateFormat), calendarType, language);
    settings.longDateFormat = TranslateDatePattern(TextOr(source, LocaleItem::SLongDate, settings.longDateFormat), calendarType, language);
    if (calendarType >= 3 && calendarType <= 5)
        settings.eras = source.Eras(calendarType);
}

// "h" or "hh", the minutes (and seconds), and on a 12-hour clock the marker before or after.
void BuildTimePatterns(LocaleSource& source, FormatSettings& settings)
{
    const std::string hours = NumberOr(source, LocaleItem::ITLZero, "0", 0) != 0 ? "hh" : "h";
    std::string prefix, suffix;
    if (NumberOr(source, LocaleItem::ITime, "0", 0) == 0) {
        if (NumberOr(source, LocaleItem::ITimeMarkPosn, "0", 0) == 0)
            suffix = " AMPM";
        else
            prefix = "AMPM ";
    }
    settings.shortTimeFormat = prefix + hours + ":mm" + suffix;
    settings.longTimeFormat = prefix + hours + ":mm:ss" + suffix;
}

} // namespace

FormatSettings ReadRegionalSettings(LocaleSource& source)
{
    FormatSettings settings;
    ReadNames(source, settings);
    settings.dateSeparator = SeparatorOr(source, LocaleItem::SDate, settings.dateSeparator);
    settings.timeSeparator = SeparatorOr(source, LocaleItem::STime, settings.timeSeparator);
    settings.timeAMString = TextOr(source, LocaleItem::S1159, settings.timeAMString);
    settings.timePMString = TextOr(source, LocaleItem::S2359, settings.timePMString);
    ReadDatePatterns(source, settings);
    BuildTimePatterns(source, settings);
    return settings;
}
