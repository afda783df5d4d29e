#include "update/Timestamp.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Wednesday 7 May 2008.
LocalTime May7(int hour, int minute, int second, int millisecond = 0)
{
    return LocalTime{2008, 5, 7, 3, hour, minute, second, millisecond};
}

// Sunday 7 September 2008, 14:05:03.007: every number and name differs in each of its forms.
const LocalTime Sep7{2008, 9, 7, 0, 14, 5, 3, 7};

LocalTime Sep7At(int hour)
{
    LocalTime when = Sep7;
    when.hour = hour;
    return when;
}

FormatSettings ChineseLike()
{
    FormatSettings settings;
    settings.shortDateFormat = "yyyy/M/d";
    settings.longTimeFormat = "h:mm:ss";
    settings.shortTimeFormat = "h:mm";
    settings.timeAMString = "\xC9\xCF\xCE\xE7"; // 上午
    settings.timePMString = "\xCF\xC2\xCE\xE7"; // 下午
    return settings;
}

FormatSettings WithDateSeparator(char separator)
{
    FormatSettings settings;
    settings.dateSeparator = separator;
    settings.timeSeparator = separator;
    return settings;
}

FormatSettings WithShortDate(std::string pattern)
{
    FormatSettings settings;
    settings.shortDateFormat = std::move(pattern);
    return settings;
}

class FixedEra : public EraCalendar {
public:
    explicit FixedEra(int year) : year_(year) {}
    bool EraOf(const LocalTime&, std::string& shortName, std::string& fullName, int& yearInEra) const override
    {
        if (year_ == 0)
            return false;
        shortName = "H";
        fullName = "Heisei";
        yearInEra = year_;
        return true;
    }

private:
    int year_;
};

FormatSettings WithEra(int yearInEra)
{
    FormatSettings settings;
    settings.eras = std::make_shared<FixedEra>(yearInEra);
    return settings;
}

class FixedClock : public Clock {
public:
    explicit FixedClock(LocalTime when) : when_(when) {}
    LocalTime Now() override { return when_; }

private:
    LocalTime when_;
};

struct PatternCase {
    const char* name;
    std::string pattern;
    std::string text;
    LocalTime when = Sep7;
    FormatSettings settings = FormatSettings{};
};

void ExpectRendered(const std::vector<PatternCase>& cases)
{
    for (const auto& c : cases)
        EXPECT_EQ(RenderPattern(c.pattern, c.when, c.settings), c.text) << c.name << ": " << c.pattern;
}

} // namespace

TEST(TimestampText, ShortDateThenLongTimeUnlessMidnight)
{
    const struct {
        const char* name;
        FormatSettings settings;
        LocalTime when;
        const char* text;
    } cases[] = {
        {"defaults", FormatSettings{}, May7(14, 5, 3), "5/7/08 2:05:03 pm"},
        {"defaults at midnight", FormatSettings{}, May7(0, 0, 0), "5/7/08"},
        {"defaults just after midnight", FormatSettings{}, May7(0, 0, 1), "5/7/08 12:00:01 am"},
        {"Chinese-like", ChineseLike(), May7(9, 5, 3, 250), "2008/5/7 9:05:03"},
        {"Chinese-like, milliseconds disregarded", ChineseLike(), May7(0, 0, 0, 400), "2008/5/7"},
        {"a nesting token in the short date is the third level", WithShortDate("d.dddddd.t.c"), May7(0, 0, 0), "7..."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TimestampText(c.when, c.settings), c.text) << c.name;
}

TEST(TimestampText, FromTheClockUsesTheSettingsInForce)
{
    const auto previous = CurrentFormatSettings();
    ReplaceFormatSettings(ChineseLike());
    FixedClock clock(May7(9, 5, 3));
    EXPECT_EQ(TimestampText(clock), "2008/5/7 9:05:03");
    ReplaceFormatSettings(*previous);
}

TEST(RenderPattern, NumbersAndNamesByCount)
{
    ExpectRendered({
        {"year", "y yy yyy yyyy yyyyy", "08 08 2008 2008 2008"},
        {"month", "m mm mmm mmmm mmmmm", "9 09 Sep September September"},
        {"day", "d dd ddd dddd", "7 07 Sun Sunday"},
        {"day names by a", "aaa aaaa", "Sun Sunday"},
        {"hour, minutes, seconds", "h hh hhh n nn nnn s ss sss", "14 14 14 5 05 05 3 03 03"},
        {"milliseconds", "z zz zzz zzzz", "7 07 007 007"},
        {"letters in any case", "YYYY-MM-DD HH:NN", "2008-09-07 14:05"},
        {"a run breaks where the case changes", "Mm", "99"},
        {"numbers are never cut", "yyyy", "12345", LocalTime{12345, 1, 1, 0, 0, 0, 0, 0}},
        {"other characters and letters are copied", "Q! #x", "Q! #x"},
    });
}

TEST(RenderPattern, MinutesWhenTheLetterReadLastWasH)
{
    ExpectRendered({
        {"right after h", "hmm", "1405"},
        {"any run length", "h:mmmm", "14:05"},
        {"non-letters between do not matter", "h - m", "14 - 5"},
        {"upper-case H counts", "Hmm", "1405"},
        {"another letter between", "h x mm", "14 x 09"},
        {"quoted letters do not count", "h'x'mm", "14x05"},
        {"a GBK character clears the memory", "h\xD6\xD0mm", "14\xD6\xD0" "09"}, // 中
        {"a GBK trail byte is not an h", "\x81hmm", "\x81h09"},
        {"month without h", "mm", "09"},
        {"after the h of a nested pattern the memory is the outer one", "tmm", "2:05 pm09"},
    });
}

TEST(RenderPattern, TwelveHourClockAndMarkers)
{
    FormatSettings chinese = ChineseLike();
    ExpectRendered({
        {"am/pm copies the pattern's case", "h am/pm AM/PM Am/pM", "2 pm PM pM"},
        {"before noon the first pair", "h am/pm", "9 am", Sep7At(9)},
        {"a/p", "h a/p A/P", "2 p P"},
        {"a/p before noon", "h a/p", "9 a", Sep7At(9)},
        {"ampm gives the locale texts", "hh ampm", "09 \xC9\xCF\xCE\xE7", Sep7At(9), chinese}, // 上午
        {"ampm from noon", "h AMPM", "2 \xCF\xC2\xCE\xE7", Sep7At(14), chinese},             // 下午
        {"midnight reads 12", "h a/p", "12 a", Sep7At(0)},
        {"noon reads 12", "h a/p", "12 p", Sep7At(12)},
        {"a marker met earlier switches the rest", "am/pm h", "pm 2"},
        {"the scan stops at the next h", "h h am/pm", "14 2 pm"},
        {"quoted markers are not seen", "h 'am/pm'", "14 am/pm"},
        {"the first a outside quotes must start a marker", "h aaa am/pm", "14 Sun pm"},
        {"day names do not switch", "aaaa h", "Sunday 14"},
    });
}

TEST(RenderPattern, NestingGoesTwoLevelsDeep)
{
    ExpectRendered({
        {"short date", "[ddddd]", "[9/7/08]"},
        {"long date", "[dddddd]", "[September 7, 2008]"},
        {"short and long time", "t|tt", "2:05 pm|2:05:03 pm"},
        {"date and time", "c", "9/7/08 2:05:03 pm"},
        {"date and time at midnight", "c", "9/7/08", LocalTime{2008, 9, 7, 0, 0, 0, 0, 7}},
        {"the third level renders nothing", "ddddd", "7    08", Sep7, WithShortDate("d ddddd t c yy")},
    });
}

TEST(RenderPattern, QuotesSeparatorsAndGbkText)
{
    ExpectRendered({
        {"single quotes", "'h:m'h", "h:m14"},
        {"double quotes", "\"yy\"yy", "yy08"},
        {"one quote inside the other", "\"it's\"", "it's"},
        {"unclosed quote runs to the end", "d 'unclosed yy", "7 unclosed yy"},
        {"empty quotes", "''", ""},
        {"separators", "d/m h:n", "7/9 14:5"},
        {"other separators", "d/m h:n", "7-9 14-5", Sep7, WithDateSeparator('-')},
        {"NUL separators render nothing", "d/m h:n", "79 145", Sep7, WithDateSeparator('\0')},
        {"GBK text copied whole", "yyyy\xC4\xEA" "m\xD4\xC2", "2008\xC4\xEA" "9\xD4\xC2"}, // 年 月
        {"a lead byte at the end", "yy\x81", "08\x81"},
    });
}

TEST(RenderPattern, EraTokens)
{
    ExpectRendered({
        {"no era calendar: the Gregorian year, no name", "e ee eee g gg", "8 08 2008  "},
        {"era year", "e ee eeee g gg", "20 20 20 H Heisei", Sep7, WithEra(20)},
        {"e drops the leading zero", "e ee eee", "5 05 5", Sep7, WithEra(5)},
        {"a date outside the eras", "e ee eee g", "8 08 2008 ", Sep7, WithEra(0)},
    });
}

TEST(RenderPattern, OutputIsCutAt256Bytes)
{
    std::string years;
    for (int i = 0; i < 100; ++i)
        years += "yyyy ";
    const std::string rendered = RenderPattern(years, Sep7, FormatSettings{});
    EXPECT_EQ(rendered.size(), 256u);
    EXPECT_EQ(rendered.substr(250), "2008 2");
    EXPECT_EQ(RenderPattern("'" + std::string(300, 'x'), Sep7, FormatSettings{}), std::string(256, 'x'));
}
