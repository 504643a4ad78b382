#include "panel/MeterSession.h"

#include "panel/SamplingTick.h"
#include "support/ScriptedPort.h"
#include "support/TestContext.h"

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

} // namespace

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
    MeterSession session(
        t.context,
        [&](const AppContext&) -> std::unique_ptr<SerialPort> {
            auto made = std::make_unique<ScriptedPort>(t.clock);
            made->defaultReply = fromHexText("02 20 01 23 03");
            port = made.get();
            return made;
        },
        sinks);
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
