#include "update/Timestamp.h"

#include <gtest/gtest.h>

namespace {

// Wednesday 7 May 2008.
LocalTime May7(int hour, int minute, int second, int millisecond = 0)
{
    return LocalTime{2008, 5, 7, 3, hour, minute, second, millisecond};
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

class FixedClock : public Clock {
public:
    explicit FixedClock(LocalTime when) : when_(when) {}
    LocalTime Now() override { return when_; }

private:
    LocalTime when_;
};

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
