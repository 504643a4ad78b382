#include "common/SharedState.h"
#include "link/LiveFrame.h"

#include <gtest/gtest.h>

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
        {20000, 0x00, 0x00, true, "0", false},     {20, 0x00, 0x00, false, "0.00", false},
        {20000, 0x00, 0x23, true, "230", false},   {2000, 0x00, 0x23, true, "23", false},
        {200, 0x00, 0x23, false, "2.3", false},    {20, 0x00, 0x23, false, "0.23", false},
        {20000, 0x10, 0x23, false, "10230", true}, {2000, 0x10, 0x23, false, "1023", true},
        {200, 0x10, 0x23, false, "102.3", true},   {20, 0x10, 0x23, false, "10.23", true},
        {2000, 0x11, 0x05, false, "1105", true},   {200, 0x01, 0x05, false, "10.5", false},
        {200, 0x11, 0x05, false, "110.5", true},   {2000, 0x00, 0x07, true, "7", false},
        {20000, 0x19, 0x99, false, "19990", true}, {2000, 0x19, 0x99, false, "1999", true},
        {20000, 0x09, 0x99, true, "9990", false},  {20, 0x00, 0xFF, false, "OL", false},
        {2000, 0x10, 0xFF, false, "OL", true},     {200, 0xFF, 0x12, false, "OL", true},
        {20, 0x0A, 0x12, false, "A.12", false}, // undefined nibbles stay letters
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
