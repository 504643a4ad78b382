#include "common/CalendarTime.h"

#include <QDate>

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
        // The last days of 31-day months, which a slip in the month arithmetic turns into day
        // 00 of the next month.
        {"2010/03/30 12:00:00", 86400, "2010/03/31 12:00:00"},
        {"2010/08/31 00:00:00", 0, "2010/08/31 00:00:00"},
        {"2010/12/31 00:00:00", -86400, "2010/12/30 00:00:00"},
    };
    for (const auto& c : cases) {
        const auto result = addSeconds(QString::fromLatin1(c.start), c.seconds);
        ASSERT_TRUE(result) << c.start;
        EXPECT_EQ(*result, QString::fromLatin1(c.expected)) << c.start << " + " << c.seconds;
    }
}

TEST(CalendarTime, RefusesTimesThatDoNotExist) {
    for (const char* text : {"2011/02/29 00:00:00", "2100/02/29 00:00:00", "2010/13/01 00:00:00",
                             "2010/00/10 00:00:00", "2010/06/00 00:00:00", "2010/04/31 00:00:00",
                             "2010/06/22 24:00:00", "2010/06/22 12:60:00", "2010/06/22 12:00:60",
                             "2010/06/22", "20A0/06/22 12:00:00", ""})
        EXPECT_FALSE(addSeconds(QString::fromLatin1(text), 1)) << text;
    // Digits of other scripts, in the year where any value would make a date.
    EXPECT_FALSE(addSeconds(QString::fromUtf16(u"201\u0663/06/22 12:00:00"), 1));
    for (const char* text : {"2000/02/29 00:00:00", "2012/02/29 23:59:59", "2010/01/31 00:00:00"})
        EXPECT_EQ(addSeconds(QString::fromLatin1(text), 0), QString::fromLatin1(text)) << text;
}

// Day by day across the leap day of 2000 and every month end of more than two years, stepped
// and in one addition, against Qt's calendar.
TEST(CalendarTime, WalksTheCalendarDayByDay) {
    const QDate first(1999, 12, 31);
    const QString start = QStringLiteral("1999/12/31 12:34:56");
    QString held = start;
    const std::optional<CalendarTime> parsedStart = CalendarTime::parse(start);
    ASSERT_TRUE(parsedStart);
    for (int day = 1; day <= 830; ++day) {
        const QString expected =
            first.addDays(day).toString(u"yyyy/MM/dd") + QStringLiteral(" 12:34:56");
        const std::optional<QString> next = addSeconds(held, 86400);
        ASSERT_EQ(next, expected) << "from " << held.toStdString();
        ASSERT_EQ(parsedStart->plusSeconds(qint64{86400} * day).held(), expected);
        held = *next;
    }
}

TEST(CalendarTime, ShownFormIsDayMonthYear) {
    EXPECT_EQ(shownFromHeld("2010/06/22 14:05:09"), "22/06/2010 14:05:09");
    const std::optional<CalendarTime> parsed = CalendarTime::parse(u"2011/01/01 00:00:15");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->shown(), "01/01/2011 00:00:15");
}
