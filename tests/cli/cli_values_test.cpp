#include "cli/CliValues.h"
#include "common/SharedState.h"
#include "link/LiveFrame.h"

#include <QTimeZone>
#include <gtest/gtest.h>

TEST(CliValues, DurationsAreWholeNumbersWithUnits) {
    const std::optional<qint64> refused;
    const struct {
        const char16_t* text;
        std::optional<qint64> seconds;
    } cases[] = {
        {u"90", 90},         {u"90s", 90},
        {u"15m", 900},       {u"24h", 86400},
        {u"2d", 172800},     {u"1h30m", 5400},
        {u"1d1s", 86401},    {u"3650d", 315360000},
        {u"3651d", refused}, {u"999999999999d", refused},
        {u"0", refused},     {u"0s0m", refused},
        {u"", refused},      {u"h", refused},
        {u"1.5h", refused},  {u"-5m", refused},
        {u"5 m", refused},   {u"5M", refused},
        {u"30s5", 35},       {u"5m30", 330},
        {u"5x", refused},    {u"1234567890123", refused},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(parseDuration(text), c.seconds) << text.toStdString();
    }
}

TEST(CliValues, WholeNumbersAreDigitsWithinTheirRange) {
    EXPECT_EQ(parseWholeNumber(u"1", 1, 255), 1);
    EXPECT_EQ(parseWholeNumber(u"255", 1, 255), 255);
    EXPECT_EQ(parseWholeNumber(u"007", 1, 255), 7);
    for (const char16_t* refused : {u"0", u"256", u"", u"+3", u"-3", u" 3", u"3 ", u"3.0", u"1e2",
                                    u"\u0663", u"99999999999999999999"})
        EXPECT_FALSE(parseWholeNumber(refused, 1, 255))
            << QString::fromUtf16(refused).toStdString();
}

// The time carries its offset from UTC in every zone, zero included, and the status flags follow
// in a fixed order, each only when set.
TEST(CliValues, ReadingLinesCarryTimeOffsetAndSetFlags) {
    const QDate day(2026, 12, 7);
    const QTime time(14, 5, 9);
    const struct {
        int offset;
        quint8 status;
        quint8 digitA, digitB;
        const char* line;
    } cases[] = {
        {0, 0x20, 0x03, 0x02, "2026-12-07T14:05:09+00:00 302 LUX 2000"},
        {3600, 0x20, 0x03, 0x02, "2026-12-07T14:05:09+01:00 302 LUX 2000"},
        {-(5 * 3600 + 30 * 60), 0x28, 0x03, 0x02, "2026-12-07T14:05:09-05:30 302 Fc 2000"},
        {0, 0x17, 0x01, 0x05, "2026-12-07T14:05:09+00:00 10.5 LUX 200 BAT HOLD MAX"},
        {0, 0x30, 0xFF, 0x00, "2026-12-07T14:05:09+00:00 OL LUX 20000"},
        {0, 0x80, 0x00, 0x23, "2026-12-07T14:05:09+00:00 0.23 LUX 20 REC"},
        // A full memory is never logging.
        {0, 0xC0, 0x00, 0x23, "2026-12-07T14:05:09+00:00 0.23 LUX 20 FULL"},
    };
    for (const auto& c : cases) {
        SharedState state;
        DecodeStatus(state, c.status);
        DecodeDigits(state, c.digitA, c.digitB);
        const QDateTime at(day, time, QTimeZone(c.offset));
        EXPECT_EQ(readingLine(state, at), c.line);
    }
}
