#include "common/CalendarTime.h"

#include <gtest/gtest.h>

TEST(CalendarTime, AddsSecondsAsCalendarTime) {
    const struct {
        const char* start;
        qint64 seconds;
        const char* expected;
    } cases[] = {
        {"2010/06/22 14:05:09", 0, "2010/06/22 14:05:09"},
        {"2010/06/22 14:05:09", 2, "2010/06/22 14:05:11"},
        {"2010/06/22 23:59:59", 1, "2010/06/23 00:00:00"},
        {"2010/12/31 23:59:59", 2, "2011/01/01 00:00:01"},
        {"2010/12/31 23:59:45", 30, "2011/01/01 00:00:15"},
        {"2012/02/28 23:59:30", 60, "2012/02/29 00:00:30"},
        {"2012/02/29 23:59:30", 60, "2012/03/01 00:00:30"},
        {"2011/02/28 23:59:30", 60, "2011/03/01 00:00:30"},
        {"2100/02/28 12:00:00", 86400, "2100/03/01 12:00:00"},
        {"2000/02/28 12:00:00", 86400, "2000/02/29 12:00:00"},
        {"2010/01/31 00:00:00", 86400, "2010/02/01 00:00:00"},
        {"2010/06/22 14:05:09", 86400 * 365, "2011/06/22 14:05:09"},
        {"2010/06/22 14:05:09", 65535, "2010/06/23 08:17:24"},
    };
    for (const auto& c : cases) {
        const auto result = addSeconds(QString::fromLatin1(c.start), c.seconds);
        ASSERT_TRUE(result) << c.start;
        EXPECT_EQ(*result, QString::fromLatin1(c.expected)) << c.start << " + " << c.seconds;
    }
}

TEST(CalendarTime, RefusesTimesThatDoNotExist) {
    for (const char* text : {"2011/02/29 00:00:00", "2010/13/01 00:00:00", "2010/00/10 00:00:00",
                             "2010/04/31 00:00:00", "2010/06/22 24:00:00", "2010/06/22 12:60:00",
                             "2010/06/22 12:00:60", "2010/06/22", "20A0/06/22 12:00:00", ""})
        EXPECT_FALSE(addSeconds(QString::fromLatin1(text), 1)) << text;
}

TEST(CalendarTime, ShownFormIsDayMonthYear) {
    EXPECT_EQ(shownFromHeld("2010/06/22 14:05:09"), "22/06/2010 14:05:09");
    EXPECT_EQ(CalendarTime::parse(u"2011/01/01 00:00:15")->shown(), "01/01/2011 00:00:15");
}
