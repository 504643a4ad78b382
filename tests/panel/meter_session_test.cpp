#include "panel/MeterSession.h"

#include "link/SystemSerialPort.h"
#include "panel/PortOpener.h"
#include "panel/SamplingTick.h"
#include "support/ScriptedPort.h"
#include "support/TestContext.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

struct NoSinks : SampleSinks {
    bool writeRecordLine(const QString&) override { return true; }
    void recordingStopped(StopReason) override {}
    void showRecordCount(const QString&) override {}
    void clearRecordingLabels() override {}
    void addListRow(const QString&) override {}
    void listEnded() override {}
};

// The live list's samples: the time each was stamped with, and when it was taken.
struct ListSinks : NoSinks {
    explicit ListSinks(const Clock& time)
        : clock(time) {}
    void addListRow(const QString& row) override {
        stamps << QRegularExpression(QStringLiteral("\\d\\d:\\d\\d:\\d\\d")).match(row).captured();
        takenAt.push_back(clock.monotonic());
    }
    const Clock& clock;
    QStringList stamps;
    std::vector<double> takenAt;
};

// Opens a port that answers every poll with 1,23 on the 2000 range, kept in `port`.
std::function<std::unique_ptr<SerialPort>(const AppContext&)> answeringPort(TestContext& t,
                                                                            ScriptedPort*& port) {
    return [&t, &port](const AppContext&) -> std::unique_ptr<SerialPort> {
        auto made = std::make_unique<ScriptedPort>(t.clock);
        made->defaultReply = fromHexText("02 20 01 23 03");
        port = made.get();
        return made;
    };
}

} // namespace

// Each choice the start window accepts opens its kind of port; a name it does not know opens
// nothing.
TEST(PortOpener, EveryComPortAndDevicePathOpensASerialDevice) {
    enum class Kind { Serial, Demo, None };
    const struct {
        int comPort;
        const char* device;
        Kind kind;
    } cases[] = {
        {1, "", Kind::Serial},   {8, "", Kind::Serial}, {0, "/dev/ttyUSB0", Kind::Serial},
        {0, "Demo", Kind::Demo}, {0, "", Kind::None},   {0, "ttyUSB0", Kind::None},
    };
    for (const auto& c : cases) {
        SharedState state;
        state.ComPort = c.comPort;
        state.ComDevice = QString::fromLatin1(c.device);
        VirtualClock clock;
        const std::unique_ptr<SerialPort> port = openerForChoice(state, clock);
        const Kind kind = !port                                         ? Kind::None
                          : dynamic_cast<SystemSerialPort*>(port.get()) ? Kind::Serial
                                                                        : Kind::Demo;
        EXPECT_EQ(kind, c.kind) << c.comPort << " " << c.device;
    }
}

// A port that cannot be opened, or a choice that names none, is said once with the reason, and
// nothing polls or samples a port that is not there.
TEST(MeterSession, PortThatCannotBeOpenedIsSaidAndNothingRuns) {
    const struct {
        const char* name;
        bool portMade;
        const char* reason;
        const char* detail;
    } cases[] = {
        {"open fails", true, "Permission denied",
         "Device: /dev/ttyUSB7\nReason: Permission denied\n"
         "Choose Demo to try luxlog without a meter."},
        {"no port for the choice", false, "",
         "Device: /dev/ttyUSB7\nReason: no serial port goes by that name\n"
         "Choose Demo to try luxlog without a meter."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestContext t;
        t.state.ComDevice = QStringLiteral("/dev/ttyUSB7");
        NoSinks sinks;
        MeterSession session(
            t.context,
            [&](const AppContext&) -> std::unique_ptr<SerialPort> {
                if (!c.portMade)
                    return nullptr;
                auto port = std::make_unique<ScriptedPort>(t.clock);
                port->failOpen = true;
                port->openError = QString::fromLatin1(c.reason);
                return port;
            },
            sinks);
        EXPECT_FALSE(session.open());
        ASSERT_EQ(t.dialogs.shown.size(), 1u);
        EXPECT_EQ(t.dialogs.shown[0].text, "No device found, try again!");
        EXPECT_EQ(t.dialogs.shown[0].detail, c.detail);
        EXPECT_EQ(t.context.port, nullptr);
        EXPECT_FALSE(session.poll().timer().isActive());
        EXPECT_FALSE(session.sampling().timer().isActive());
    }
}

// An open port is lent to the other windows and polled; at the end the ticks stop first, then
// the port is taken back and closed, so no exchange finds it half gone.
TEST(MeterSession, OpenPortIsLentAndPolledUntilReleased) {
    TestContext t;
    t.state.ComPort = 2;
    NoSinks sinks;
    ScriptedPort* port = nullptr;
    MeterSession session(t.context, answeringPort(t, port), sinks);
    ASSERT_TRUE(session.open());
    EXPECT_TRUE(t.dialogs.shown.empty());
    EXPECT_EQ(t.context.port, port);
    EXPECT_TRUE(session.poll().timer().isActive());
    EXPECT_TRUE(session.sampling().timer().isActive());

    session.poll().Timer1_Timer();
    t.clock.run(0.3);
    EXPECT_EQ(port->writtenHex().value(0), "20");
    EXPECT_EQ(t.state.Range, 2000);

    session.stop();
    EXPECT_FALSE(session.poll().timer().isActive());
    EXPECT_FALSE(session.sampling().timer().isActive());
    EXPECT_TRUE(port->isOpen());
    session.release();
    EXPECT_EQ(t.context.port, nullptr);
    EXPECT_FALSE(port->isOpen());
}

// The main window's two timers on virtual time, each firing when its interval has passed as the
// event loop fires it: the poll asks the meter five times a second (a poll waits 0.2 s for its
// reply and the next follows at once), and a sampling time changed from a minute to a second
// takes effect within a second, each sample then on its second.
TEST(MeterSession, PollAndSamplesKeepTheirPace) {
    TestContext t;
    t.state.ComPort = 2;
    ListSinks sinks(t.clock);
    ScriptedPort* port = nullptr;
    MeterSession session(t.context, answeringPort(t, port), sinks);
    ASSERT_TRUE(session.open());
    const double start = t.clock.monotonic();
    t.state.SamplingTime = 60;
    t.state.ListOn = true;
    t.state.RefUnit = QStringLiteral("LUX");
    t.state.RefRange = 2000;
    const double end = start + 15;
    std::function<void()> pollTimer = [&] {
        if (session.poll().timer().isActive())
            session.poll().Timer1_Timer();
        if (t.clock.monotonic() < end)
            t.clock.after(session.poll().timer().interval() / 1000.0, nullptr, pollTimer);
    };
    std::function<void()> samplingTimer = [&] {
        if (session.sampling().timer().isActive())
            session.sampling().Timer2_Timer();
        if (t.clock.monotonic() < end)
            t.clock.after(session.sampling().timer().interval() / 1000.0, nullptr, samplingTimer);
    };
    // A poll handed over at the end of the last one runs before time moves on.
    t.clock.duringWait = [] { QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall); };
    t.clock.after(0, nullptr, [&] {
        t.clock.after(session.poll().timer().interval() / 1000.0, nullptr, pollTimer);
        t.clock.after(session.sampling().timer().interval() / 1000.0, nullptr, samplingTimer);
        t.clock.after(5.5, nullptr, [&] {
            t.state.SamplingTime = 1;
            t.state.SampleTick = 0;
        });
    });
    session.stop();
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(port->writes.size(), 75u);
    EXPECT_EQ(sinks.stamps,
              QStringList({"14:05:14", "14:05:15", "14:05:16", "14:05:17", "14:05:18", "14:05:19",
                           "14:05:20", "14:05:21", "14:05:22", "14:05:23", "14:05:24"}));
    ASSERT_EQ(sinks.takenAt.size(), 11u);
    EXPECT_LT(sinks.takenAt[0] - start, 6.5);
    for (size_t i = 1; i < sinks.takenAt.size(); ++i)
        EXPECT_NEAR(sinks.takenAt[i] - start, 5.0 + static_cast<double>(i), 0.01) << i;
}
