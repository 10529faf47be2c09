#include "core/timetext.h"

#include <gtest/gtest.h>

TEST(TimeText, SecondsToText)
{
    const struct {
        int32_t seconds;
        const char *text;
    } cases[] = {
        {0, "00:00:00"},    {5, "00:00:05"},     {3599, "00:59:59"},    {3600, "01:00:00"},
        {3723, "01:02:03"}, {90061, "25:01:01"}, {360000, "100:00:00"}, {359999, "99:59:59"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(secondsToTimeText(c.seconds), QString::fromLatin1(c.text)) << c.seconds;
}

TEST(TimeText, TextToSeconds)
{
    const struct {
        const char *text;
        int32_t seconds;
    } cases[] = {
        {"01:02:03", 3723},
        {"00:00:07.99", 7},
        {"00:01:05.40", 65},
        {"1:02:03", 0},
        {"", 0},
        {"ab:cd:ef", 0},
        {"100:00:00", 0},
        {" 1: 2: 3", 3723},
        {"00:00", 0},
        {"99:59:59", 359999},
    };
    for (const auto &c : cases)
        EXPECT_EQ(timeTextToSeconds(QString::fromLatin1(c.text)), c.seconds) << c.text;
}

TEST(TimeText, RoundTripsUpTo99Hours)
{
    for (int32_t s : {0, 1, 59, 60, 61, 3599, 3600, 86399, 86400, 359999})
        EXPECT_EQ(timeTextToSeconds(secondsToTimeText(s)), s) << s;
}
