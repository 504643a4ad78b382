#include "link/MeterExchange.h"
#include "support/SimulatedMeter.h"
#include "tools/ClockTexts.h"
#include "tools/MeterClock.h"

#include <QLocale>
#include <gtest/gtest.h>

TEST(ClockTexts, MeterReplyAsMonthDayYearTime) {
    const struct {
        const char* reply;
        const char* text;
    } cases[] = {
        {"09 10 06 22 14 05", "06/22/10 14:05:09"},
        {"59 99 12 31 23 59", "12/31/99 23:59:59"},
        {"00 00 01 01 00 00", "01/01/00 00:00:00"},
        // Bytes that are no BCD show their hexadecimal digits, as the meter sent them.
        {"1A 10 06 22 14 FF", "06/22/10 14:FF:1A"},
        {"09 10 06 22 14", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(clockReplyText(fromHexText(c.reply)), c.text) << c.reply;
}

TEST(ClockTexts, PcClockKeepsItsSeparatorsWhateverTheLocale) {
    const QDateTime at(QDate(2010, 6, 22), QTime(14, 5, 9));
    const QLocale previous;
    for (const char* name : {"en_US", "de_DE", "fi_FI", "ar_EG"}) {
        QLocale::setDefault(QLocale(QString::fromLatin1(name)));
        EXPECT_EQ(pcClockText(at), "06/22/10 14:05:09") << name;
        EXPECT_EQ(pcClockText(QDateTime(QDate(2009, 1, 2), QTime(3, 4, 5))), "01/02/09 03:04:05");
    }
    QLocale::setDefault(previous);
}

namespace {

struct View : ClockView {
    bool closed() const override { return isClosed; }
    void setMeterTimeText(const QString& text) override { meter = text; }
    void setPcTimeText(const QString& text) override { pc = text; }
    bool isClosed = false;
    QString meter;
    QString pc;
};

struct MeterClockTest : ::testing::Test, SimulatedMeter {
    MeterClockTest() {
        engine.setClock(QDateTime(QDate(2011, 3, 4), QTime(5, 6, 7)), clock.monotonic());
    }
    View view;
};

} // namespace

TEST_F(MeterClockTest, CaptionsUntilClickedAndThePollPausedForTheWindowsLife) {
    {
        MeterClock meterClock(context, view);
        EXPECT_EQ(poll, QStringList({"off"}));
        meterClock.tick();
        EXPECT_EQ(view.meter, "Meter Time");
        EXPECT_EQ(view.pc, "PC System Time");
        EXPECT_TRUE(port.writes.isEmpty());

        meterClock.togglePcTime();
        clock.advance(61);
        meterClock.tick();
        EXPECT_EQ(view.pc, "06/22/10 14:06:10");
        EXPECT_TRUE(port.writes.isEmpty());
        meterClock.release();
        EXPECT_EQ(poll, QStringList({"off", "on"}));
    }
    EXPECT_EQ(poll, QStringList({"off", "on"}));
}

TEST_F(MeterClockTest, MeterTimeIsReadOnEveryTickWhileShown) {
    MeterClock meterClock(context, view);
    meterClock.toggleMeterTime();
    const double started = clock.monotonic();
    meterClock.tick();
    // Two wake passes (the first only wakes the meter), the pause after them, " " and "C": the
    // reply arrives within the last pause.
    EXPECT_EQ(port.writes, QStringList({"20", "20", "20", "43"}));
    EXPECT_NEAR(clock.monotonic() - started, 1.0, 1e-6);
    EXPECT_EQ(view.meter, "03/04/11 05:06:07");
    clock.advance(2);
    meterClock.tick();
    EXPECT_EQ(view.meter, "03/04/11 05:06:10");
    EXPECT_EQ(count("43"), 2);

    meterClock.toggleMeterTime();
    meterClock.tick();
    EXPECT_EQ(view.meter, "Meter Time");
    EXPECT_EQ(count("43"), 2);
    EXPECT_EQ(poll, QStringList({"off"})); // exchanges nest inside the window's pause
}

// While a PC recording or the live list takes samples, the window holds the poll only for its
// own exchanges: it reads the meter clock once and counts it on, since every read would cost a
// one-second sample.
TEST_F(MeterClockTest, DuringARecordingTheMeterClockIsReadOnceAndCountedOn) {
    for (const bool list : {false, true}) {
        poll.clear();
        (list ? state.ListOn : state.Recording) = true;
        const int before = count("43");
        MeterClock meterClock(context, view);
        EXPECT_TRUE(poll.isEmpty());
        meterClock.toggleMeterTime();
        meterClock.tick();
        EXPECT_EQ(poll, QStringList({"off", "on"}));
        const QString first = view.meter;
        ++state.FrameCount;
        clock.advance(61);
        meterClock.tick();
        EXPECT_EQ(count("43"), before + 1);
        EXPECT_EQ(QDateTime::fromString(first, "MM/dd/yy HH:mm:ss")
                      .secsTo(QDateTime::fromString(view.meter, "MM/dd/yy HH:mm:ss")),
                  61)
            << qPrintable(first) << " " << qPrintable(view.meter);
        EXPECT_EQ(poll, QStringList({"off", "on"}));

        // The recording ends: the window holds the poll again and reads on every tick.
        state.Recording = state.ListOn = false;
        meterClock.tick();
        meterClock.tick();
        EXPECT_EQ(count("43"), before + 3);
        EXPECT_EQ(poll, QStringList({"off", "on", "off"}));
        meterClock.release();
        ASSERT_FALSE(poll.isEmpty());
        EXPECT_EQ(poll.last(), "on");
    }
}

TEST(ClockTexts, MeterReplyAsDateAndTime) {
    const struct {
        const char* reply;
        const char* at; // ISO, or empty for none
    } cases[] = {
        {"09 10 06 22 14 05", "2010-06-22T14:05:09"},
        {"00 00 02 29 00 00", "2000-02-29T00:00:00"},
        {"00 01 02 29 00 00", ""}, // no such day
        {"1A 10 06 22 14 05", ""}, // no BCD
    };
    for (const auto& c : cases) {
        const std::optional<QDateTime> at = clockReplyTime(fromHexText(c.reply));
        EXPECT_EQ(at ? at->toString(Qt::ISODate) : QString(), QString::fromLatin1(c.at)) << c.reply;
    }
}

TEST_F(MeterClockTest, SetSendsThePcClockAsPackedDecimals) {
    MeterClock meterClock(context, view);
    meterClock.setMeterTime();
    EXPECT_EQ(port.writes, QStringList({"20", "20", "20", "44", "10 06 22 14 05 09"}));
    // The meter's clock now runs from the PC time taken when the button was pressed.
    EXPECT_EQ(engine.clock(clock.monotonic()).toString("yyyy-MM-dd HH:mm"), "2010-06-22 14:05");
}

TEST_F(MeterClockTest, SilentMeterIsReportedAndNotAskedAgain) {
    MeterClock meterClock(context, view);
    meterClock.toggleMeterTime();
    engine.setSilent(true);
    const double started = clock.monotonic();
    meterClock.tick();
    EXPECT_NEAR(clock.monotonic() - started, 5.0, 0.3);
    ASSERT_EQ(dialogs.messages(),
              QStringList({"Meter not responding, check the connection and try again!"}));
    EXPECT_EQ(dialogs.shown[0].icon, Dialogs::Icon::Critical);
    EXPECT_FALSE(meterClock.showMeterTime());
    EXPECT_EQ(view.meter, "Meter Time");
    const qsizetype writes = port.writes.size();
    meterClock.tick();
    EXPECT_EQ(port.writes.size(), writes);

    meterClock.setMeterTime();
    EXPECT_EQ(dialogs.messages().size(), 2);
    EXPECT_FALSE(port.writes.contains("44"));
}

TEST_F(MeterClockTest, ClosingDuringAReadEndsItAtOnce) {
    MeterClock meterClock(context, view);
    meterClock.toggleMeterTime();
    engine.setSilent(true);
    clock.duringWait = [this] { view.isClosed = true; };
    meterClock.tick();
    EXPECT_EQ(port.writes, QStringList({"20"}));
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_FALSE(meterClock.busy());
}

TEST_F(MeterClockTest, ExchangesNeverOverlap) {
    MeterClock meterClock(context, view);
    meterClock.toggleMeterTime();
    // A tick during a tick's read leaves the meter alone.
    int nested = 0;
    clock.duringWait = [&] {
        if (nested++ == 0)
            meterClock.tick();
    };
    meterClock.tick();
    EXPECT_EQ(port.writes, QStringList({"20", "20", "20", "43"}));

    // "Set" pressed during a read runs once the read is done.
    port.writes.clear();
    nested = 0;
    clock.duringWait = [&] {
        if (nested++ == 0)
            meterClock.setMeterTime();
    };
    meterClock.tick();
    EXPECT_EQ(count("43"), 1);
    EXPECT_EQ(count("44"), 1);
    EXPECT_LT(port.writes.indexOf("43"), port.writes.indexOf("44"));
    ASSERT_FALSE(port.writes.isEmpty());
    EXPECT_TRUE(port.writes.last().startsWith("10 06 22 14 05 "))
        << port.writes.last().toStdString();
    EXPECT_EQ(view.meter.left(8), "03/04/11");

    // "Set" pressed during a set does nothing more.
    port.writes.clear();
    nested = 0;
    meterClock.setMeterTime();
    EXPECT_EQ(count("44"), 1);
    EXPECT_EQ(count("43"), 0);
}
