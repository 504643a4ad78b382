#include "common/SharedState.h"
#include "link/LoggerReplies.h"
#include "support/ScriptedPort.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

TEST(LoggerReplies, RangeUnitCodeKeepsOnlyUnitAndRangeBits) {
    const struct {
        quint8 code;
        const char* unit;
        qint16 range;
    } cases[] = {{0x07, "Fc", 20000},
                 {0x02, "LUX", 200},
                 {0x08, "LUX", 20},
                 {0x05, "Fc", 2000},
                 {0xF9, "Fc", 20}};
    for (const auto& c : cases) {
        SharedState s;
        DecodeLogRangeUnit(s, c.code);
        EXPECT_EQ(s.LogUnit, c.unit) << int(c.code);
        EXPECT_EQ(s.LogRange, c.range) << int(c.code);
        EXPECT_EQ(s.Unit, QString()) << "the live unit is not the logger's";
    }
}

TEST(LoggerReplies, SampleValueFlagByteFirst) {
    const struct {
        quint8 rangeCode, flag, digit;
        const char* value;
        bool batLow;
    } cases[] = {
        {0x04, 0x13, 0x45, "1345", false},  {0x02, 0x00, 0x95, "9.5", false},
        {0x02, 0x10, 0x95, "109.5", false}, {0x00, 0x00, 0x55, "0.55", false},
        {0x00, 0x40, 0x55, "0.55", true},   {0x06, 0x01, 0x23, "1230", false},
        {0x06, 0x11, 0x23, "11230", false}, {0x06, 0x00, 0x00, "0", false},
        {0x04, 0x52, 0x34, "1234", true},   {0x04, 0x05, 0xFF, "OL", false},
        {0x00, 0xFF, 0x12, "OL", true},
    };
    for (const auto& c : cases) {
        SharedState s;
        DecodeLogRangeUnit(s, c.rangeCode);
        DecodeLogValue(s, c.flag, c.digit);
        EXPECT_EQ(s.LogValue.text(), c.value) << int(c.flag) << " " << int(c.digit);
        EXPECT_EQ(s.LogBatLow, c.batLow) << int(c.flag);
    }
}

TEST(LoggerReplies, SettingsReply) {
    const auto r = SettingsReply::decode(fromHexText("04 D2 00 02 03 40 01 3C 00"));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->id, 1234);
    EXPECT_EQ(r->capacityText(), "Capacity : 32 K");
    EXPECT_EQ(r->setCount, 3);
    EXPECT_EQ(r->memoryUsed, 320);
    EXPECT_DOUBLE_EQ(r->memoryPercent(false), 0.9765625);
    EXPECT_DOUBLE_EQ(r->memoryPercent(true), 100);
    EXPECT_EQ(r->interval, 60);
    EXPECT_FALSE(r->holdsNoData());

    const auto other = SettingsReply::decode(fromHexText("FF 01 77 01 00 0F 00 10 0E"));
    ASSERT_TRUE(other);
    EXPECT_EQ(other->id, 0xFF01);
    EXPECT_EQ(other->interval, 3600);
    EXPECT_TRUE(other->holdsNoData());
    // More in use than the memory holds reads as full, not beyond.
    const auto overfull = SettingsReply::decode(fromHexText("04 D2 00 02 03 FF FF 3C 00"));
    ASSERT_TRUE(overfull);
    EXPECT_EQ(overfull->memoryUsed, 0xFFFF);
    EXPECT_DOUBLE_EQ(overfull->memoryPercent(false), 100);
    EXPECT_FALSE(SettingsReply::decode(fromHexText("04 D2 00 02 03 40 01 3C")));
    EXPECT_FALSE(SettingsReply::decode(fromHexText("04 D2 00 02 03 40 01 3C 00 00")));
}

TEST(LoggerReplies, SetIndexRows) {
    const QByteArray index = fromHexText("AA"
                                         "10 06 22 14 05 09 04 3C 00 03 00"
                                         "11 12 31 23 59 45 07 10 0E 02 01");
    EXPECT_FALSE(decodeSetIndex(index.left(22), 2));
    // No count, however large, reads past the reply or asks for memory it cannot describe.
    EXPECT_FALSE(decodeSetIndex(index, std::numeric_limits<int>::max()));
    EXPECT_FALSE(decodeSetIndex(index, -1));
    const auto entries = decodeSetIndex(index, 2);
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), 2u);
    SharedState s;
    EXPECT_EQ(setRowText(s, 1, (*entries)[0]), "1\t22/06/2010\t14:05:09\t2000 LUX\t60\t3");
    EXPECT_EQ(setRowText(s, 2, (*entries)[1]), "2\t31/12/2011\t23:59:45\t20000 Fc\t3600\t258");
    const auto none = decodeSetIndex(QByteArray(1, '\0'), 0);
    ASSERT_TRUE(none);
    EXPECT_EQ(none->size(), 0u);
}

QByteArray dump(const char* header, int samples) {
    QByteArray d = fromHexText(QString::fromLatin1(header) + " 04 00 00 00 00");
    for (int j = 0; j < samples; ++j)
        d += fromHexText(j == 1 ? "45 53" : "07 00");
    return d;
}

TEST(LoggerReplies, SampleTimeStampsAreCalendarArithmetic) {
    const struct {
        const char* header;
        int interval, samples;
        QStringList times;
        bool error;
    } cases[] = {
        {"10 12 31 23 59 45",
         30,
         3,
         {"31/12/2010 23:59:45", "01/01/2011 00:00:15", "01/01/2011 00:00:45"},
         false},
        {"10 06 30 23 59 50", 10, 2, {"30/06/2010 23:59:50", "01/07/2010 00:00:00"}, false},
        {"12 02 28 12 00 00",
         86400,
         3,
         {"28/02/2012 12:00:00", "29/02/2012 12:00:00", "01/03/2012 12:00:00"},
         false},
        {"11 02 28 12 00 00", 86400, 2, {"28/02/2011 12:00:00", "01/03/2011 12:00:00"}, false},
        {"10 02 30 12 00 00", 1, 3, {"30/02/2010 12:00:00"}, true},
        {"10 06 1A 12 00 00", 1, 2, {"1A/06/2010 12:00:00"}, true},
        {"10 06 22 24 00 00", 1, 2, {"22/06/2010 24:00:00"}, true},
        {"10 02 30 12 00 00", 1, 1, {"30/02/2010 12:00:00"}, false},
    };
    for (const auto& c : cases) {
        SharedState s;
        const SetRows out = decodeSetDump(s, dump(c.header, c.samples), c.interval, c.samples);
        QStringList times;
        for (const QString& row : out.rows)
            times << row.section(u'\t', 1, 1);
        EXPECT_EQ(times, c.times) << c.header;
        EXPECT_EQ(!out.error.isEmpty(), c.error) << c.header << " " << out.error.toStdString();
    }
}

TEST(LoggerReplies, DownloadedRowsAndTitle) {
    SharedState s;
    s.MeterID = Value::fromNumber(1234);
    const SetRows out = decodeSetDump(s, dump("10 06 22 14 05 09", 2), 60, 2);
    EXPECT_EQ(out.rows,
              QStringList({"1\t22/06/2010 14:05:09\t7\t", "2\t22/06/2010 14:06:09\t1345\tLow"}));
    EXPECT_EQ(downloadTitleSuffix(s), "---*ID=1234 Range:2000/LUX");

    const SetRows cut = decodeSetDump(s, dump("10 06 22 14 05 09", 2).left(14), 60, 2);
    EXPECT_EQ(cut.rows.size(), 1);
    EXPECT_EQ(cut.error, "The set's data ends before sample 2.");
    EXPECT_EQ(decodeSetDump(s, fromHexText("10 06"), 60, 0).error,
              "The set's header is incomplete.");
    const SetRows past =
        decodeSetDump(s, dump("10 06 22 14 05 09", 2), 60, std::numeric_limits<int>::max());
    EXPECT_EQ(past.rows, out.rows);
    EXPECT_FALSE(past.error.isEmpty());
}

} // namespace
