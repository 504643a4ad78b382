// The simulated meter as the link sees it: through DemoPort on virtual time, with the byte
// sequences of the exchanges written out by hand.
#include "sim/engine/DemoPort.h"
#include "sim/engine/MeterEngine.h"
#include "support/ScriptedPort.h"
#include "support/VirtualClock.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

class MeterLine : public ::testing::Test {
protected:
    MeterLine() {
        meter.setDrift(false);
        meter.setIlluminance(345.0);
        meter.setIdCode(1234);
        meter.setInterval(60);
        MeterEngine::LoggedSet first;
        first.start = {0x10, 0x06, 0x22, 0x14, 0x05, 0x09};
        first.rangeUnitCode = 0x04;
        first.interval = 30;
        first.samples = fromHexText("45 13 95 00 FF FF");
        meter.addSet(first);
        MeterEngine::LoggedSet second;
        second.start = {0x10, 0x12, 0x31, 0x23, 0x59, 0x45};
        second.rangeUnitCode = 0x07;
        second.interval = 300;
        second.samples = fromHexText("23 41 55 00");
        meter.addSet(second);
        port.open(nullptr);
    }

    void send(const char* hex) { port.output(fromHexText(QString::fromLatin1(hex))); }
    void pause() { clock.WaitSeconds(0.2); }
    QString read() { return hexText(port.input()); }
    // " " until exactly one frame waits, as the link wakes the meter.
    void wakeMeter() {
        for (int pass = 0; pass < 10; ++pass) {
            send("20");
            pause();
            if (port.inBufferCount() == 5)
                return;
        }
        FAIL() << "the meter never answered";
    }
    // Flush, wake, pause, flush, " ", pause, then the command writes, each followed by a pause.
    QString command(const QStringList& writes) {
        port.input();
        wakeMeter();
        pause();
        port.input();
        send("20");
        pause();
        for (const QString& write : writes) {
            port.output(fromHexText(write));
            pause();
        }
        return read();
    }

    VirtualClock clock;
    MeterEngine meter;
    DemoPort port{meter, clock};
};

TEST_F(MeterLine, SleepsWhenIdleAndWakesOnAnyByte) {
    // Gap before each " " and the bytes it draws; the meter starts asleep.
    const struct {
        double gap;
        int bytes;
    } steps[] = {{0.0, 0}, {0.2, 5}, {0.25, 5}, {0.29, 5}, {0.3, 0}, {0.2, 5}, {1.0, 0}, {0.1, 5}};
    for (const auto& step : steps) {
        // The previous step already let 0.02 s pass to look for its frame.
        clock.advance(std::max(step.gap - 0.02, 0.0));
        port.discardInput();
        send("20");
        clock.advance(0.02);
        EXPECT_EQ(port.inBufferCount(), step.bytes) << "after a gap of " << step.gap;
    }
}

TEST_F(MeterLine, CommandRepliesArriveAloneWithTheirLayout) {
    const struct {
        QStringList writes;
        QString reply;
    } cases[] = {
        // ID high byte first; 47 bytes in use = 15 + 17 + 15; interval 60.
        {{"59"}, "04 D2 00 02 02 2F 00 3C 00"},
        {{"49"}, "00 10 06 22 14 05 09 04 1E 00 03 00 10 12 31 23 59 45 07 2C 01 02 00"},
        {{"4B", "02"}, "10 12 31 23 59 45 07 00 00 00 00 23 41 55 00"},
        {{"4B", "01"}, "10 06 22 14 05 09 04 00 00 00 00 45 13 95 00 FF FF"},
        // A set the meter does not hold draws nothing.
        {{"4B", "03"}, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(command(c.writes), c.reply);
        // Nothing trails the reply, and the meter went to sleep behind it.
        clock.advance(1.0);
        EXPECT_EQ(port.inBufferCount(), 0);
    }
}

TEST_F(MeterLine, MeterSleepsAtOnceAfterALoggerReply) {
    for (const char* cmd : {"59", "49", "43"}) {
        command({cmd});
        // 0.2 s after the command is well inside the idle time, yet " " only wakes it.
        send("20");
        pause();
        EXPECT_EQ(port.inBufferCount(), 0) << cmd;
        send("20");
        pause();
        EXPECT_EQ(port.inBufferCount(), 5) << cmd;
    }
}

TEST_F(MeterLine, SettingWritesReadBack) {
    const struct {
        const char* writes[2];
        QString settings;
    } cases[] = {
        {{"57 00 00 FF", "57 00 01 FF"}, "FF FF 00 02 02 2F 00 3C 00"},
        {{"57 00 07 2C", "57 00 08 01"}, "04 D2 00 02 02 2F 00 2C 01"},
        {{"57 00 00 0D", "57 00 01 0A"}, "0A 0D 00 02 02 2F 00 3C 00"},
        // Other addresses and pages change nothing that is reported.
        {{"57 00 03 77", "57 01 00 77"}, "04 D2 00 02 02 2F 00 3C 00"},
    };
    for (const auto& c : cases) {
        meter.setIdCode(1234);
        meter.setInterval(60);
        clock.advance(2.0); // asleep: the first " " of each write only wakes it
        for (const char* write : c.writes) {
            send("20");
            pause();
            send(write);
            pause();
        }
        EXPECT_EQ(command({"59"}), c.settings) << c.writes[0];
    }
}

TEST_F(MeterLine, CommandsAreCollectedAcrossWritesButNotAcrossSleep) {
    wakeMeter();
    send("57");
    clock.advance(0.1);
    send("00 01");
    clock.advance(0.1);
    send("00");
    EXPECT_EQ(meter.idCode(), 0x00D2);

    // More than the idle time between "K" and its set number: the number only wakes the meter.
    EXPECT_EQ(command({"4B"}), "");
    clock.advance(0.3);
    send("01");
    pause();
    EXPECT_EQ(port.inBufferCount(), 0);
}

TEST_F(MeterLine, EraseEmptiesTheMemory) {
    meter.setFlag(MeterEngine::MemoryFull, true);
    port.input();
    send("20");
    pause();
    send("20");
    pause();
    ASSERT_GE(port.input().size(), 5);
    for (int i = 0; i < 3; ++i) {
        send("45");
        pause();
    }
    EXPECT_EQ(command({"59"}), "04 D2 00 02 00 0F 00 3C 00");
    EXPECT_EQ(command({"49"}), "00");
    EXPECT_FALSE(meter.flag(MeterEngine::MemoryFull));
}

TEST_F(MeterLine, ClockSetRunsOnAndReadsBackInItsOwnOrder) {
    port.input();
    wakeMeter();
    pause();
    send("20");
    pause();
    send("44");
    pause();
    send("10 06 22 14 05 09");
    clock.advance(75.0);
    // Second first, then year, month, day, hour, minute; 75.8 s later (with the exchange).
    EXPECT_EQ(command({"43"}), "24 10 06 22 14 06");

    // A date that does not exist leaves the clock running as it was (1.2 s of exchange).
    clock.advance(0.5);
    send("20");
    pause();
    send("44");
    pause();
    send("10 02 30 14 05 09");
    EXPECT_EQ(command({"43"}), "26 10 06 22 14 06");
}

TEST_F(MeterLine, UnitToggleShowsInTheNextFrame) {
    wakeMeter();
    const QString before = read();
    EXPECT_EQ(command({"46 08"}), "");
    send("20");
    pause();
    const QString after = read();
    // 345 lux in range 2000, then 32.1 Fc (32 counts) with the unit bit set.
    EXPECT_EQ(before, "02 20 03 45 03");
    EXPECT_EQ(after, "02 28 00 32 03");
}

TEST_F(MeterLine, PacedRepliesTakeTheirTimeOnTheWire) {
    meter.eraseSets();
    // 11 + 2 * 495 = 1001 bytes.
    meter.addSyntheticSet(495, 1, 0x04);
    meter.setPaced(true);
    port.input();
    wakeMeter();
    pause();
    port.input();
    send("20");
    pause();
    send("4B");
    pause();
    const double sent = clock.monotonic();
    send("01");
    clock.advance(0.5);
    const int halfway = port.inBufferCount();
    EXPECT_NEAR(halfway, 480, 5);
    clock.advance(1001 / 960.0 - 0.5 - 0.001);
    EXPECT_LT(port.inBufferCount(), 1001);
    clock.advance(0.02);
    EXPECT_EQ(port.input().size(), 1001);
    EXPECT_NEAR(clock.monotonic() - sent, 1001 / 960.0, 0.03);
}

TEST_F(MeterLine, FaultsShapeTheLiveFrame) {
    const struct {
        const char* name;
        std::function<void(MeterEngine&)> fault;
        QString frame;
    } cases[] = {
        {"none", [](MeterEngine&) {}, "02 20 03 45 03"},
        {"silent", [](MeterEngine& m) { m.setSilent(true); }, ""},
        {"short", [](MeterEngine& m) { m.setShortFrames(true); }, "02 20 03"},
        {"bad framing", [](MeterEngine& m) { m.setBadFraming(true); }, "00 20 03 45 03"},
        {"trailing", [](MeterEngine& m) { m.setTrailingBytes(2); }, "02 20 03 45 03 00 00"},
        {"overload", [](MeterEngine& m) { m.setOverload(true); }, "02 20 FF FF 03"},
        {"unplugged", [](MeterEngine& m) { m.setUnplugged(true); }, ""},
    };
    for (const auto& c : cases) {
        MeterEngine fresh = meter;
        c.fault(fresh);
        DemoPort freshPort(fresh, clock);
        freshPort.open(nullptr);
        freshPort.output(" ");
        clock.advance(0.2);
        freshPort.output(" ");
        clock.advance(0.2);
        EXPECT_EQ(hexText(freshPort.input()), c.frame) << c.name;
    }
}

TEST_F(MeterLine, SplitRepliesArriveInPieces) {
    meter.setSplitReplies(3, 0.15);
    port.input();
    send("20");
    pause();
    send("20");
    QList<int> seen;
    for (int i = 0; i < 4; ++i) {
        clock.advance(0.1);
        seen.append(port.inBufferCount());
    }
    EXPECT_EQ(seen, QList<int>({1, 3, 3, 5}));
    EXPECT_EQ(read(), "02 20 03 45 03");
}

TEST_F(MeterLine, UnpluggedMeterRefusesToOpen) {
    meter.setUnplugged(true);
    DemoPort other(meter, clock);
    QString error;
    EXPECT_FALSE(other.open(&error));
    EXPECT_FALSE(other.isOpen());
    EXPECT_FALSE(error.isEmpty());
    meter.setUnplugged(false);
    EXPECT_TRUE(other.open(&error));
}

} // namespace
