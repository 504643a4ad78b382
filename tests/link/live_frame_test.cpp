#include "common/SharedState.h"
#include "link/LiveFrame.h"

#include <gtest/gtest.h>

namespace {

QByteArray fromHex(const char* text) {
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

} // namespace

TEST(DecodeStatus, SetsFlagsUnitAndRange) {
    const struct {
        quint8 status;
        bool bat, max, hold, full, rec;
        const char* unit;
        qint16 range;
    } cases[] = {
        {0x35, true, false, true, false, false, "LUX", 20000},
        {0x48, false, false, false, true, false, "Fc", 20},
        {0xC8, false, false, false, true, false, "Fc", 20}, // logging hidden while memory full
        {0x88, false, false, false, false, true, "Fc", 20},
        {0x12, false, true, false, false, false, "LUX", 200},
        {0x20, false, false, false, false, false, "LUX", 2000},
        {0xFF, true, true, true, true, false, "Fc", 20000},
    };
    for (const auto& c : cases) {
        SharedState s;
        DecodeStatus(s, c.status);
        SCOPED_TRACE(c.status);
        EXPECT_EQ(s.BatLow, c.bat);
        EXPECT_EQ(s.MaxOn, c.max);
        EXPECT_EQ(s.HoldOn, c.hold);
        EXPECT_EQ(s.MemFull, c.full);
        EXPECT_EQ(s.MeterRec, c.rec);
        EXPECT_EQ(s.Unit, QString::fromLatin1(c.unit));
        EXPECT_EQ(s.UnitFlag, c.unit[0] == 'F' ? 1 : 0);
        EXPECT_EQ(s.Range, c.range);
    }
}

TEST(DecodeDigits, BuildsTheValueByRange) {
    const struct {
        qint16 range;
        quint8 a, b;
        bool number;
        const char* text;
        bool leadOne;
    } cases[] = {
        {20000, 0x00, 0x00, true, "0", false},
        {20, 0x00, 0x00, false, "0.00", false},
        {20000, 0x00, 0x23, true, "230", false},
        {2000, 0x00, 0x23, true, "23", false},
        {200, 0x00, 0x23, false, "2.3", false},
        {20, 0x00, 0x23, false, "0.23", false},
        {20000, 0x10, 0x23, false, "10230", true},
        {2000, 0x10, 0x23, false, "1023", true},
        {200, 0x10, 0x23, false, "102.3", true},
        {20, 0x10, 0x23, false, "10.23", true},
        {2000, 0x11, 0x05, false, "1105", true},
        {200, 0x01, 0x05, false, "10.5", false},
        {200, 0x11, 0x05, false, "110.5", true},
        {2000, 0x00, 0x07, true, "7", false},
        {20000, 0x19, 0x99, false, "19990", true},
        {2000, 0x19, 0x99, false, "1999", true},
        {20000, 0x09, 0x99, true, "9990", false},
        {20, 0x00, 0xFF, false, "OL", false},
        {2000, 0x10, 0xFF, false, "OL", true},
        {200, 0xFF, 0x12, false, "OL", true},
        // Undefined nibbles stay letters and are never read as a number (and so never as an
        // exponent: "1D5" would be 100000).
        {20, 0x0A, 0x12, false, "A.12", false},
        {2000, 0x01, 0xD5, false, "1D5", false},
        {20000, 0x10, 0xE9, false, "10E90", true},
        {200, 0x0B, 0x12, false, "B1.2", false},
        {200, 0x11, 0xD9, false, "11D.9", true},
        {20, 0x01, 0xD9, false, "1.D9", false},
    };
    for (const auto& c : cases) {
        SharedState s;
        s.Range = c.range;
        DecodeDigits(s, c.a, c.b);
        SCOPED_TRACE(std::string(c.text));
        EXPECT_EQ(s.Value.text(), QString::fromLatin1(c.text));
        EXPECT_EQ(s.Value.isNumber(), c.number);
        EXPECT_EQ(s.LeadOne, c.leadOne);
    }
}

TEST(LastLiveFrame, OnlyAGroupSentWholeIsAFrame) {
    const struct {
        const char* received;
        const char* frame; // status, A, B; empty for none
    } cases[] = {
        {"02 20 01 23 03", "20 01 23"},
        {"02 20 01 23 03 AA BB", "20 01 23"},
        // The late tail of an answer in front of the next one.
        {"23 03 02 20 01 23 03", "20 01 23"},
        // Overlapping groups: a tail in front of a frame, or a frame with the next answer's
        // first bytes behind it. Either may be the one sent whole: no frame.
        {"02 03 02 20 03 05 03", ""},
        {"02 03 02 02 03 03 03 03", ""},
        // Two whole frames: the newer one.
        {"02 10 00 11 03 02 20 00 22 03", "20 00 22"},
        // Right start, wrong end: no frame, and no digits taken from it.
        {"02 20 01 99 FF", ""},
        {"03 20 01 23 02", ""},
        {"02 20 01 03", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.received);
        const std::optional<LiveFrameBytes> f = lastLiveFrame(fromHex(c.received));
        if (*c.frame == 0) {
            EXPECT_FALSE(f.has_value());
            continue;
        }
        ASSERT_TRUE(f.has_value());
        const QByteArray expected = fromHex(c.frame);
        EXPECT_EQ(f->status, quint8(expected[0]));
        EXPECT_EQ(f->digitA, quint8(expected[1]));
        EXPECT_EQ(f->digitB, quint8(expected[2]));
    }
}
