#include "panel/LivePoll.h"

#include "common/PauseGate.h"
#include "common/SharedState.h"
#include "support/ScriptedPort.h"
#include "support/VirtualClock.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

struct LivePollTest : ::testing::Test {
    LivePollTest() {
        state.ComPort = 2;
        port.defaultReply = fromHexText("02 20 01 23 03");
        poll.onDecoded = [this] { ++decoded; };
        poll.setPortLabel = [this](const QString& text) { labels << text; };
        poll.start(port);
    }
    // Timer1's ticks as the event loop of an open dialog delivers them, for `seconds`.
    void dialogOpenFor(double seconds) {
        for (int i = 0; i < static_cast<int>(seconds / 0.05); ++i) {
            clock.run(0.05);
            poll.Timer1_Timer();
        }
    }

    SharedState state;
    VirtualClock clock;
    ScriptedPort port{clock};
    PauseGate pollGate;
    PauseGate timersGate;
    LivePoll poll{state, clock, pollGate, timersGate};
    int decoded = 0;
    QStringList labels;
};

} // namespace

// A dialog opened while a tick waits for its answer runs its own event loop: the tick ends in
// it and the next ones follow, one poll each 0.2 s wait (and the tick that starts it), never two
// at once.
TEST_F(LivePollTest, DialogOpenedDuringTheWaitHoldsNothingUp) {
    bool opened = false;
    clock.duringWait = [&] {
        if (!opened) {
            opened = true;
            dialogOpenFor(3.0);
        }
    };
    poll.Timer1_Timer();
    EXPECT_GE(decoded, 11);
    for (size_t i = 1; i < port.writes.size(); ++i)
        EXPECT_GE(port.writes[i].time - port.writes[i - 1].time, 0.2 - 1e-9) << i;
}

// An exchange that pauses the poll has the line to itself at once: the tick it interrupts never
// touches the port again, and the timer runs only while no gate is paused.
TEST_F(LivePollTest, PauseEndsTheTickInProgressAndResumesTheTimer) {
    bool paused = false;
    clock.duringWait = [&] {
        if (paused)
            return;
        paused = true;
        const ScopedPause exchange(pollGate);
        EXPECT_FALSE(poll.timer().isActive());
        EXPECT_FALSE(poll.ticking());
        clock.run(1.0);
    };
    poll.Timer1_Timer();
    EXPECT_EQ(port.writes.size(), 1u);
    EXPECT_EQ(decoded, 0);
    EXPECT_TRUE(poll.timer().isActive());
    {
        const ScopedPause plot(timersGate);
        EXPECT_FALSE(poll.timer().isActive());
    }
    EXPECT_TRUE(poll.timer().isActive());
}

// Ticks that come due while one runs are handed over once, not piled up.
TEST_F(LivePollTest, TicksDueDuringATickAreHandedOverOnce) {
    clock.duringWait = [&] {
        poll.Timer1_Timer();
        poll.Timer1_Timer();
    };
    poll.Timer1_Timer();
    EXPECT_EQ(port.writes.size(), 1u);
    clock.duringWait = nullptr;
    QCoreApplication::processEvents();
    EXPECT_EQ(port.writes.size(), 2u);
    QCoreApplication::processEvents();
    EXPECT_EQ(port.writes.size(), 3u); // each tick outlasts the interval: polls follow on
    poll.stop();
    QCoreApplication::processEvents();
    EXPECT_EQ(port.writes.size(), 3u);
}

// A silent meter holds the tick in "No COM"; an exchange taking the line ends it there and the
// port's own label comes back, for the exchange to find out whether the meter answers.
TEST_F(LivePollTest, PauseDuringNoComRestoresThePortLabel) {
    port.defaultReply.clear();
    int requests = 0;
    port.onOutput = [&](const QByteArray&) {
        if (++requests == 12) {
            EXPECT_EQ(labels, QStringList{"No COM"});
            const ScopedPause exchange(pollGate);
        }
    };
    poll.Timer1_Timer();
    EXPECT_EQ(labels, QStringList({"No COM", "COM2"}));
    EXPECT_EQ(requests, 12);
    EXPECT_FALSE(poll.ticking());
}
