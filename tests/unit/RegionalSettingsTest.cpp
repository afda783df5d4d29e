#include "update/RegionalSettings.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <thread>

#include "update/Timestamp.h"

namespace {

constexpr unsigned ChinaLocale = 0x0804;
constexpr unsigned UsLocale = 0x0409;

class NoEras : public EraCalendar {
public:
    bool EraOf(const LocalTime&, std::string&, std::string&, int&) const override { return false; }
};

// A locale of table items; an item not in the table cannot be fetched, nor can one longer than asked.
class TableLocale : public LocaleSource {
public:
    TableLocale(std::map<LocaleItem, std::string> items, unsigned localeId = UsLocale)
        : items_(std::move(items)), localeId_(localeId)
    {
    }

    std::optional<std::string> Item(LocaleItem item, std::size_t maxBytes) override
    {
        const auto found = items_.find(item);
        if (found == items_.end() || found->second.size() > maxBytes)
            return std::nullopt;
        return found->second;
    }

    unsigned LocaleId() override { return localeId_; }

    std::shared_ptr<const EraCalendar> Eras(int calendarType) override
    {
        askedCalendar = calendarType;
        return std::make_shared<NoEras>();
    }

    int askedCalendar = 0;

private:
    std::map<LocaleItem, std::string> items_;
    unsigned localeId_;
};

LocaleItem Nth(LocaleItem first, unsigned index)
{
    return static_cast<LocaleItem>(static_cast<unsigned>(first) + index);
}

const LocalTime May7{2008, 5, 7, 3, 14, 5, 3, 0};

} // namespace

TEST(ReadRegionalSettings, EveryItemMissingGivesTheDefaults)
{
    TableLocale locale({});
    const FormatSettings settings = ReadRegionalSettings(locale);
    EXPECT_EQ(settings.shortDateFormat, "m/d/yy");
    EXPECT_EQ(settings.longDateFormat, "mmmm d, yyyy");
    EXPECT_EQ(settings.longTimeFormat, "h:mm:ss AMPM");
    EXPECT_EQ(settings.shortTimeFormat, "h:mm AMPM");
    EXPECT_EQ(settings.longDayNames[0], "Sunday");
    EXPECT_FALSE(settings.eras);
    EXPECT_EQ(locale.askedCalendar, 0);
    EXPECT_EQ(TimestampText(May7, settings), "5/7/08 2:05:03 pm");
    EXPECT_EQ(TimestampText(LocalTime{2008, 5, 7, 3, 0, 0, 0, 0}, settings), "5/7/08");
}

TEST(ReadRegionalSettings, ChineseItemsGiveTheChineseTimestamp)
{
    TableLocale locale({{LocaleItem::SShortDate, "yyyy/M/d"}, {LocaleItem::SDate, "/"}, {LocaleItem::STime, ":"},
                        {LocaleItem::ITime, "1"}, {LocaleItem::ITLZero, "0"}},
                       ChinaLocale);
    const FormatSettings settings = ReadRegionalSettings(locale);
    EXPECT_EQ(TimestampText(LocalTime{2008, 5, 7, 3, 9, 5, 3, 250}, settings), "2008/5/7 9:05:03");
    EXPECT_EQ(TimestampText(LocalTime{2008, 5, 7, 3, 0, 0, 0, 400}, settings), "2008/5/7");
}

TEST(ReadRegionalSettings, SeparatorsTakeTheFirstByteOfAOneByteItem)
{
    const struct {
        std::optional<std::string> item;
        char separator;
    } cases[] = {{"-", '-'}, {"", '\0'}, {"--", '/'}, {"\xA3\xAF", '/'}, {std::nullopt, '/'}}; // ／
    for (const auto& c : cases) {
        std::map<LocaleItem, std::string> items;
        if (c.item)
            items[LocaleItem::SDate] = items[LocaleItem::STime] = *c.item;
        TableLocale locale(items);
        const FormatSettings settings = ReadRegionalSettings(locale);
        EXPECT_EQ(settings.dateSeparator, c.separator) << c.item.value_or("(missing)");
        EXPECT_EQ(settings.timeSeparator, c.separator == '/' ? ':' : c.separator) << c.item.value_or("(missing)");
    }
}

TEST(ReadRegionalSettings, TimePatternsFromDigitsClockAndMarkerPosition)
{
    const struct {
        const char* leadingZero;
        const char* clock;
        const char* markerPosition;
        const char* longTime;
        const char* shortTime;
    } cases[] = {
        {"1", "1", "1", "hh:mm:ss", "hh:mm"},
        {"0", "2", "0", "h:mm:ss", "h:mm"},
        {"1", "0", "0", "hh:mm:ss AMPM", "hh:mm AMPM"},
        {"0", "0", "1", "AMPM h:mm:ss", "AMPM h:mm"},
        {"x", "1x", "", "h:mm:ss AMPM", "h:mm AMPM"},
        {"-1", "+0", "-1", "AMPM hh:mm:ss", "AMPM hh:mm"},
    };
    for (const auto& c : cases) {
        TableLocale locale({{LocaleItem::ITLZero, c.leadingZero}, {LocaleItem::ITime, c.clock},
                            {LocaleItem::ITimeMarkPosn, c.markerPosition}});
        const FormatSettings settings = ReadRegionalSettings(locale);
        EXPECT_EQ(settings.longTimeFormat, c.longTime) << c.leadingZero << "," << c.clock << "," << c.markerPosition;
        EXPECT_EQ(settings.shortTimeFormat, c.shortTime) << c.leadingZero << "," << c.clock << "," << c.markerPosition;
    }
}

TEST(ReadRegionalSettings, TextsAndNames)
{
    std::map<LocaleItem, std::string> items{
        {LocaleItem::S1159, ""},
        {LocaleItem::S2359, "\xCF\xC2\xCE\xE7"}, // 下午
        {Nth(LocaleItem::SMonthName1, 4), "\xCE\xE5\xD4\xC2"}, // 五月
        {Nth(LocaleItem::SAbbrevMonthName1, 4), ""},
        {Nth(LocaleItem::SDayName1, 0), "Montag"},
        {Nth(LocaleItem::SDayName1, 6), "Sonntag"},
        {Nth(LocaleItem::SAbbrevDayName1, 6), "So"},
    };
    TableLocale locale(items);
    const FormatSettings settings = ReadRegionalSettings(locale);
    EXPECT_EQ(settings.timeAMString, "");
    EXPECT_EQ(settings.timePMString, "\xCF\xC2\xCE\xE7");
    EXPECT_EQ(settings.longMonthNames[4], "\xCE\xE5\xD4\xC2");
    EXPECT_EQ(settings.shortMonthNames[4], "May");
    EXPECT_EQ(settings.longMonthNames[5], "June");
    EXPECT_EQ(settings.longDayNames[0], "Sonntag");
    EXPECT_EQ(settings.longDayNames[1], "Montag");
    EXPECT_EQ(settings.shortDayNames[0], "So");
    EXPECT_EQ(settings.shortDayNames[1], "Mon");
}

TEST(ReadRegionalSettings, DatePatternsTranslatedByCalendarAndLanguage)
{
    const struct {
        const char* name;
        const char* pattern;
        std::optional<std::string> calendarType;
        unsigned localeId;
        const char* translated;
    } cases[] = {
        {"Gregorian English keeps g", "gg yyyy/M/d", "1", UsLocale, "gg yyyy/M/d"},
        {"Chinese drops g and G", "Gg yyyy/M/d g", "1", ChinaLocale, " yyyy/M/d "},
        {"Chinese sub-language", "gyy", std::nullopt, 0x0C04, "yy"},
        {"Japanese", "ggyyyy", "1", 0x0411, "yyyy"},
        {"Korean", "ggyyyy", "1", 0x0412, "yyyy"},
        {"low 16 bits zero count as English", "ggyy", "1", 0x10000, "ggyy"},
        {"g trail byte of a GBK character stays", "\x81gg", "1", ChinaLocale, "\x81g"},
        {"era calendar", "gg yyyy/MM/dd", "3", UsLocale, "ggg eeee/MM/dd"},
        {"era calendar, case ignored", "GGy YY Yyyy yyy ggg", "4", ChinaLocale, "ggge ee eeee eee gggg"},
        {"era calendar copies GBK characters whole", "yyyy\xC4\xEA\x81y", "5", ChinaLocale, "eeee\xC4\xEA\x81y"}, // 年
        {"unparsable calendar type counts as 1", "gg y", "x", UsLocale, "gg y"},
        {"calendar types beyond 5 are not era calendars", "gg y", "6", UsLocale, "gg y"},
    };
    for (const auto& c : cases) {
        std::map<LocaleItem, std::string> items{{LocaleItem::SShortDate, c.pattern}, {LocaleItem::SLongDate, c.pattern}};
        if (c.calendarType)
            items[LocaleItem::ICalendarType] = *c.calendarType;
        TableLocale locale(items, c.localeId);
        const FormatSettings settings = ReadRegionalSettings(locale);
        EXPECT_EQ(settings.shortDateFormat, c.translated) << c.name;
        EXPECT_EQ(settings.longDateFormat, c.translated) << c.name;
        const bool eraCalendar = c.calendarType && (*c.calendarType == "3" || *c.calendarType == "4" || *c.calendarType == "5");
        EXPECT_EQ(settings.eras != nullptr, eraCalendar) << c.name;
        EXPECT_EQ(locale.askedCalendar, eraCalendar ? std::stoi(*c.calendarType) : 0) << c.name;
    }
}

TEST(FormatSettingsInForce, ReplacedWholeWhileReadersRender)
{
    const auto previous = CurrentFormatSettings();
    FormatSettings chinese;
    chinese.shortDateFormat = "yyyy/M/d";
    chinese.longTimeFormat = "hh:mm:ss";
    const FormatSettings english;
    std::atomic<bool> done{false};
    std::atomic<int> torn{0};
    std::thread reader([&] {
        while (!done) {
            const std::string text = TimestampText(May7, *CurrentFormatSettings());
            if (text != "2008/5/7 14:05:03" && text != "5/7/08 2:05:03 pm")
                ++torn;
        }
    });
    for (int i = 0; i < 2000; ++i)
        ReplaceFormatSettings(i % 2 ? chinese : english);
    done = true;
    reader.join();
    EXPECT_EQ(torn, 0);
    ReplaceFormatSettings(*previous);
}
