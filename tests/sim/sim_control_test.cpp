#include "sim/engine/MeterEngine.h"
#include "sim/engine/SimControl.h"
#include "support/ScriptedPort.h"

#include <gtest/gtest.h>

namespace {

// The frame a fresh meter at 320 lux sends for its second " ", after one control line.
QString frameAfter(const QString& line, QString* error) {
    MeterEngine meter;
    meter.setDrift(false);
    meter.setIlluminance(320.0);
    *error = applySimControl(meter, line);
    meter.receive(" ", 0.0);
    meter.receive(" ", 0.2);
    return hexText(meter.take(1.0));
}

TEST(SimControl, LinesChangeTheMeter) {
    const struct {
        QString line;
        QString frame;
    } cases[] = {
        {"silent on", ""},
        {"silent off", "02 20 03 20 03"},
        {"short on", "02 20 03"},
        {"badframe on", "00 20 03 20 03"},
        {"trailing 1", "02 20 03 20 03 00"},
        {"range 200", "02 10 FF FF 03"},
        {"range 20000", "02 30 00 32 03"},
        {"unit fc", "02 28 00 30 03"},
        {"  UNIT   Lux ", "02 20 03 20 03"},
        {"battery on", "02 21 03 20 03"},
        {"hold on", "02 24 03 20 03"},
        {"logging on", "02 A0 03 20 03"},
        {"memfull on", "02 60 03 20 03"},
        {"overload on", "02 20 FF FF 03"},
        {"lux 302", "02 20 03 02 03"},
    };
    for (const auto& c : cases) {
        QString error;
        EXPECT_EQ(frameAfter(c.line, &error), c.frame) << c.line.toStdString();
        EXPECT_TRUE(error.isEmpty()) << c.line.toStdString();
    }
}

TEST(SimControl, BadLinesAreRefusedAndChangeNothing) {
    for (const char* line : {"silent", "silent maybe", "range 500", "range", "unit kelvin",
                             "trailing -1", "trailing x", "split 0", "frobnicate on", "quit",
                             "hold on now", "late 0", "late 5", "lux -3", "lux bright"}) {
        QString error;
        EXPECT_EQ(frameAfter(QString::fromLatin1(line), &error), "02 20 03 20 03") << line;
        EXPECT_FALSE(error.isEmpty()) << line;
    }
}

// A glitch delays the tail of one reading: it arrives behind the head, in front of the answer to
// the next request, which comes whole.
TEST(SimControl, LateTailLandsInFrontOfTheNextReading) {
    MeterEngine meter;
    meter.setDrift(false);
    meter.setIlluminance(302.0);
    meter.receive(" ", 0.0);
    meter.take(0.19);
    EXPECT_TRUE(applySimControl(meter, "late 2").isEmpty());
    meter.receive(" ", 0.2);
    EXPECT_EQ(hexText(meter.take(0.4)), "02 20 03");
    meter.receive(" ", 0.4);
    EXPECT_EQ(hexText(meter.take(0.7)), "02 03 02 20 03 02 03");
}

} // namespace
