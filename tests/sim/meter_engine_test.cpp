// What the simulated meter holds and how it encodes it, checked against the link's own decoder
// where one exists, so that the simulator and the program cannot drift apart unnoticed.
#include "link/MeterDigits.h"
#include "sim/engine/MeterEngine.h"
#include "support/ScriptedPort.h"

#include <QSet>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace {

TEST(MeterEngine, DigitsDecodeBackToTheReading) {
    const struct {
        int rangeIndex;
        double shown;
        QString bytes; // digit byte A, digit byte B
        QString decoded;
    } cases[] = {
        {2, 345.0, "03 45", "345"},    {2, 7.0, "00 07", "7"},         {2, 1105.2, "11 05", "1105"},
        {2, 1999.4, "19 99", "1999"},  {2, 1999.5, "FF FF", "OL"},     {1, 10.5, "01 05", "10.5"},
        {1, 110.54, "11 05", "110.5"}, {0, 0.55, "00 55", "0.55"},     {0, 0.0, "00 00", "0.00"},
        {0, 19.99, "19 99", "19.99"},  {3, 12340.0, "12 34", "12340"}, {3, 2301.0, "02 30", "2300"},
        {3, 25000.0, "FF FF", "OL"},   {2, -3.0, "00 00", "0"},
    };
    for (const auto& c : cases) {
        const auto digits = MeterEngine::encodeDigits(c.shown, c.rangeIndex);
        const QByteArray bytes{reinterpret_cast<const char*>(digits.data()), 2};
        EXPECT_EQ(hexText(bytes), c.bytes) << c.shown;
        const auto value = decodeMeterDigits(rangeFromIndex(c.rangeIndex), digits[0], digits[1]);
        ASSERT_TRUE(value.value.has_value());
        EXPECT_EQ(value.value->text(), c.decoded) << c.shown;
    }
}

TEST(MeterEngine, StatusByteCarriesFlagsUnitAndRange) {
    const struct {
        quint8 flags;
        bool fc;
        int range;
        quint8 status;
    } cases[] = {
        {0, false, 2000, 0x20},
        {MeterEngine::BatteryLow | MeterEngine::Held, false, 20000, 0x35},
        {MeterEngine::MemoryFull, true, 20, 0x48},
        {MeterEngine::Logging | MeterEngine::MaxShown, true, 200, 0x9A},
    };
    for (const auto& c : cases) {
        MeterEngine meter;
        for (const auto flag : {MeterEngine::BatteryLow, MeterEngine::MaxShown, MeterEngine::Held,
                                MeterEngine::MemoryFull, MeterEngine::Logging})
            meter.setFlag(flag, (c.flags & flag) != 0);
        meter.setUnitFc(c.fc);
        meter.setRange(c.range);
        EXPECT_EQ(meter.statusByte(), c.status);
    }
    MeterEngine meter;
    meter.setRange(500); // not a range: ignored
    EXPECT_EQ(meter.range(), 2000);
}

TEST(MeterEngine, ReadingDriftsSlowlyAndRepeatsForASeed) {
    MeterEngine a(7), b(7), c(8);
    a.setIlluminance(300.0);
    b.setIlluminance(300.0);
    c.setIlluminance(300.0);
    QList<double> seenA, seenB, seenC;
    for (double t = 0.0; t < 120.0; t += 0.25) {
        seenA.append(a.illuminance(t));
        seenB.append(b.illuminance(t));
        seenC.append(c.illuminance(t));
    }
    EXPECT_EQ(seenA, seenB);
    EXPECT_NE(seenA, seenC);
    const auto [low, high] = std::minmax_element(seenA.begin(), seenA.end());
    EXPECT_GT(*low, 200.0);
    EXPECT_LT(*high, 450.0);
    EXPECT_GT(*high - *low, 2.0);
    for (qsizetype i = 1; i < seenA.size(); ++i)
        EXPECT_LT(std::abs(seenA[i] / seenA[i - 1] - 1.0), 0.1);
}

TEST(MeterEngine, HoldFreezesAndMaxKeepsThePeak) {
    MeterEngine meter(3);
    meter.setIlluminance(300.0);
    meter.liveFrame(0.0);
    meter.setFlag(MeterEngine::Held, true);
    const QByteArray held = meter.liveFrame(0.1);
    EXPECT_EQ(meter.liveFrame(60.0), held);
    meter.setFlag(MeterEngine::Held, false);
    meter.setFlag(MeterEngine::MaxShown, true);
    double peak = 0.0;
    for (double t = 60.0; t < 90.0; t += 0.1)
        peak = std::max(peak, meter.illuminance(t));
    const auto digits = MeterEngine::encodeDigits(peak, 2);
    EXPECT_EQ(meter.liveFrame(90.0).mid(2, 2),
              QByteArray(reinterpret_cast<const char*>(digits.data()), 2));
}

TEST(MeterEngine, DemoHoldsThreeDifferentSets) {
    MeterEngine demo = MeterEngine::demo(1);
    EXPECT_EQ(demo.idCode(), 1234);
    EXPECT_EQ(demo.range(), 2000);
    const QByteArray frame = demo.liveFrame(0.0);
    const auto value =
        decodeMeterDigits(2000, static_cast<quint8>(frame[2]), static_cast<quint8>(frame[3]));
    EXPECT_GT(value.value->number(), 100.0);
    EXPECT_LT(value.value->number(), 1000.0);

    ASSERT_EQ(demo.sets().size(), 3);
    QSet<int> codes, intervals;
    const int lengths[][2] = {{10, 50}, {300, 800}, {2000, 4000}};
    for (int i = 0; i < 3; ++i) {
        const auto& set = demo.sets()[i];
        EXPECT_GE(set.sampleCount(), lengths[i][0]);
        EXPECT_LE(set.sampleCount(), lengths[i][1]);
        codes.insert(set.rangeUnitCode);
        intervals.insert(set.interval);
        EXPECT_EQ(demo.setDump(i + 1).size(), 11 + 2 * set.sampleCount());
        // The start is a real date in packed BCD.
        for (const quint8 byte : set.start)
            EXPECT_TRUE((byte >> 4) <= 9 && (byte & 0xF) <= 9);
    }
    EXPECT_EQ(codes.size(), 3);
    EXPECT_EQ(intervals.size(), 3);
    EXPECT_EQ(demo.setIndex().size(), 1 + 11 * 3);
    EXPECT_EQ(MeterEngine::demo(1).setDump(3), demo.setDump(3));
}

TEST(MeterEngine, LargeSetsFitTheReportedMemory) {
    MeterEngine meter = MeterEngine::demo(1);
    const int number = meter.addSyntheticSet(16000, 1, 0x04);
    ASSERT_EQ(number, 4);
    EXPECT_EQ(meter.setDump(number).size(), 32011);
    const QByteArray settings = meter.settingsReply();
    ASSERT_EQ(settings.size(), 9);
    const int used = static_cast<quint8>(settings[5]) | static_cast<quint8>(settings[6]) << 8;
    EXPECT_EQ(used, meter.memoryUsed());
    EXPECT_GE(static_cast<quint8>(settings[3]) * 16384, used);
    EXPECT_EQ(settings[4], 4);

    for (int i = 0; i < 3; ++i)
        meter.addSyntheticSet(65535, 1, 0x04);
    EXPECT_EQ(meter.memoryUsed(), 65535);
    ASSERT_FALSE(meter.sets().empty());
    EXPECT_EQ(meter.sets().back().sampleCount(), 65535);
    EXPECT_EQ(meter.addSyntheticSet(100000, 1, 0x04), 8);
    EXPECT_EQ(meter.sets().back().sampleCount(), 65535);
}

} // namespace
