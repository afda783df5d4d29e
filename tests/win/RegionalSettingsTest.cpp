#include "update/SystemRegionalSettings.h"

#include <gtest/gtest.h>

#include "update/SystemClock.h"
#include "update/Timestamp.h"

// The test bed runs under the Chinese locale: short date yyyy/M/d, separators / and :, a 24-hour clock
// with a leading zero on the hour, and the Chinese morning and afternoon texts.
TEST(RegionalSettingsFromTheSystem, RenderTheChineseTimestamp)
{
    LoadSystemRegionalSettings();
    const auto settings = CurrentFormatSettings();
    EXPECT_EQ(settings->shortDateFormat, "yyyy/M/d");
    EXPECT_EQ(settings->dateSeparator, '/');
    EXPECT_EQ(settings->timeSeparator, ':');
    EXPECT_EQ(settings->longTimeFormat, "hh:mm:ss");
    EXPECT_EQ(settings->timeAMString, "\xC9\xCF\xCE\xE7"); // 上午
    EXPECT_EQ(settings->timePMString, "\xCF\xC2\xCE\xE7"); // 下午
    EXPECT_EQ(settings->longMonthNames[4], "\xCE\xE5\xD4\xC2"); // 五月
    EXPECT_FALSE(settings->eras);

    const LocalTime may7{2008, 5, 7, 3, 9, 5, 3, 250};
    EXPECT_EQ(TimestampText(may7, *settings), "2008/5/7 09:05:03");
    EXPECT_EQ(TimestampText(LocalTime{2008, 5, 7, 3, 0, 0, 0, 400}, *settings), "2008/5/7");
    EXPECT_EQ(RenderPattern("dddd ampm h:nn", may7, *settings), "\xD0\xC7\xC6\xDA\xC8\xFD \xC9\xCF\xCE\xE7 9:05"); // 星期三 上午
}

TEST(SystemClock, GivesAPlausibleLocalTime)
{
    SystemClock clock;
    const LocalTime now = clock.Now();
    EXPECT_GE(now.year, 2020);
    EXPECT_TRUE(now.month >= 1 && now.month <= 12 && now.day >= 1 && now.day <= 31);
    EXPECT_TRUE(now.hour < 24 && now.minute < 60 && now.second < 60 && now.millisecond < 1000);
}
