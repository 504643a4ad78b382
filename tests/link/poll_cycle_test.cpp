#include "common/SharedState.h"
#include "link/PollCycle.h"
#include "support/ScriptedPort.h"
#include "support/VirtualClock.h"

#include <gtest/gtest.h>

namespace {

const QByteArray kLiveFrame = fromHexText("02 20 01 23 03"); // 2000 LUX, 123
const QByteArray kShort = fromHexText("02 20 01");

struct PollFixture : ::testing::Test {
    PollFixture() {
        clock.trace = &trace;
        port.trace = &trace;
        state.ComPort = 3;
        poll.setPortLabel = [this](const QString& l) { labels << l; };
    }
    QStringList trace;
    QStringList labels;
    VirtualClock clock;
    ScriptedPort port{clock};
    SharedState state;
    PollCycle poll{state, port, clock};
};

QStringList oneAttempt() {
    return {"input 0", "discard", "out 20", "wait 0.2"};
}

} // namespace

TEST_F(PollFixture, GoodFrameIsOneRequestAndOneWait) {
    port.replies = {kLiveFrame};
    EXPECT_EQ(poll.poll(), PollCycle::Outcome::Decoded);
    EXPECT_EQ(trace, oneAttempt() << "input 5");
    EXPECT_EQ(state.Value.text(), "123");
    EXPECT_EQ(state.Unit, "LUX");
    EXPECT_TRUE(labels.isEmpty());
}

TEST_F(PollFixture, ShortAnswersAreRetriedThenAGoodOneDecodes) {
    port.replies = {kShort, {}, kShort, kLiveFrame};
    EXPECT_EQ(poll.poll(), PollCycle::Outcome::Decoded);
    ASSERT_EQ(port.writes.size(), 4u);
    // Each retry flushes what the short answer left behind.
    EXPECT_EQ(trace.count("discard"), 4);
    for (size_t i = 1; i < port.writes.size(); ++i)
        EXPECT_NEAR(port.writes[i].time - port.writes[i - 1].time, 0.2, 1e-9);
}

TEST_F(PollFixture, EighthAttemptGoesToNoComEvenWithAGoodFrame) {
    port.replies = {kShort, kShort, kShort, kShort, kShort, kShort, kShort, kLiveFrame};
    state.Value = Value::fromNumber(42);
    EXPECT_EQ(poll.poll(), PollCycle::Outcome::NoData);
    // Eight requests; the good eighth answer is waiting, so the loop ends after its first wait.
    EXPECT_EQ(port.writes.size(), 9u);
    EXPECT_EQ(labels, QStringList({"No COM", "COM3"}));
    EXPECT_EQ(state.Value.text(), "42"); // nothing decoded
    EXPECT_EQ(port.inBufferCount(), 0);  // what arrived was taken and thrown away
}

TEST_F(PollFixture, SilentMeterHoldsInNoComUntilABytesArrives) {
    int requests = 0;
    port.onOutput = [&](const QByteArray&) {
        if (++requests == 20)
            port.deliver("\x02", 0.05);
    };
    EXPECT_EQ(poll.poll(), PollCycle::Outcome::NoData);
    EXPECT_EQ(requests, 20);
    EXPECT_EQ(labels, QStringList({"No COM", "COM3"}));
}

// A meter that answers but never with a whole frame is retried like a short answer; after the
// eighth attempt the tick ends and the port label says the data is bad, until a frame decodes.
TEST_F(PollFixture, BadFramingEndsTheTickAfterEightAttemptsAndShowsIt) {
    for (int i = 0; i < 8; ++i)
        port.replies.push_back(fromHexText("03 20 01 23 02"));
    state.Value = Value::fromNumber(42);
    EXPECT_EQ(poll.poll(), PollCycle::Outcome::Garbled);
    EXPECT_EQ(port.writes.size(), 8u);
    EXPECT_LE(clock.monotonic() - 1000.0, 2.0);
    EXPECT_EQ(labels, QStringList{"Bad data"});
    EXPECT_EQ(state.Value.text(), "42");
    EXPECT_FALSE(state.NewReading);
    EXPECT_EQ(state.FrameCount, 0u);

    port.replies = {kLiveFrame};
    EXPECT_EQ(poll.poll(), PollCycle::Outcome::Decoded);
    EXPECT_EQ(labels, QStringList({"Bad data", "COM3"}));
    EXPECT_TRUE(state.NewReading);
    EXPECT_EQ(state.FrameCount, 1u);
}

// The right start byte and a wrong end byte: never read as a reading, even when a good frame
// follows in the next answer.
TEST_F(PollFixture, WrongEndByteIsNoFrame) {
    port.replies = {fromHexText("02 20 01 99 FF"), kLiveFrame};
    EXPECT_EQ(poll.poll(), PollCycle::Outcome::Decoded);
    EXPECT_EQ(state.Value.text(), "123");
    EXPECT_EQ(port.writes.size(), 2u);
}

TEST_F(PollFixture, TrailingBytesAfterAGoodFrameAreIgnored) {
    port.replies = {kLiveFrame + fromHexText("AA BB CC")};
    EXPECT_EQ(poll.poll(), PollCycle::Outcome::Decoded);
    EXPECT_EQ(state.Value.text(), "123");
}

TEST_F(PollFixture, FrameInPiecesCompleteByTheReadIsAccepted) {
    port.onOutput = [&](const QByteArray&) { port.deliverPieces(kLiveFrame, 3, 0.01, 0.05); };
    EXPECT_EQ(poll.poll(), PollCycle::Outcome::Decoded);
    EXPECT_EQ(port.writes.size(), 1u);
}

// The late rest of the first answer lands in front of the second one: only the second answer,
// sent whole, is decoded, never a reading pieced together from the two.
TEST_F(PollFixture, LateTailOfAnAnswerIsNoPartOfTheNext) {
    const struct {
        const char* first;
        const char* second;
        const char* value;
        qint16 range;
        int requests;
    } cases[] = {
        {"02 20 01 23 03", "02 20 04 56 03", "456", 2000, 2},
        // Read from the first byte on, tail and head would give 2.20 in range 20 with the
        // battery and MAX marks; the bytes alone cannot tell that group from the whole one, so
        // the poll asks again.
        {"02 4A 02 02 03", "02 20 03 05 03", "305", 2000, 3},
    };
    for (const auto& c : cases) {
        SharedState s;
        ScriptedPort p(clock);
        PollCycle cycle(s, p, clock);
        int requests = 0;
        p.onOutput = [&](const QByteArray&) {
            if (++requests == 1)
                p.deliverPieces(fromHexText(c.first), 2, 0.1, 0.105); // tail at 0.205 s
            else
                p.deliver(fromHexText(c.second));
        };
        EXPECT_EQ(cycle.poll(), PollCycle::Outcome::Decoded);
        EXPECT_EQ(requests, c.requests);
        EXPECT_EQ(s.Value.text(), QString::fromLatin1(c.value));
        EXPECT_EQ(s.Range, c.range);
        EXPECT_FALSE(s.BatLow || s.MaxOn);
    }
}

// A late answer arrives whole, right behind it the first bytes of the next answer: from its
// third byte on they would read as status 03 (range 20, battery, MAX) with digits 3.03.
TEST_F(PollFixture, BytesBehindALateFrameAreNoPartOfIt) {
    int requests = 0;
    port.onOutput = [&](const QByteArray&) {
        if (++requests == 1) {
            port.deliver(fromHexText("02 03 02 02 03"), 0.25);
        } else if (requests == 2) {
            port.deliver(fromHexText("03 03 03"), 0.1);
            port.deliver(kLiveFrame, 0.3);
        } else {
            port.deliver(kLiveFrame);
        }
    };
    EXPECT_EQ(poll.poll(), PollCycle::Outcome::Decoded);
    EXPECT_EQ(requests, 3);
    EXPECT_EQ(state.Value.text(), "123");
    EXPECT_EQ(state.Range, 2000);
    EXPECT_FALSE(state.BatLow || state.MaxOn);
}

TEST_F(PollFixture, WaitStartedJustBeforeMidnightWaitsItsFullTime) {
    VirtualClock late(QDateTime(QDate(2010, 12, 31), QTime(23, 59, 59, 950)));
    ScriptedPort latePort(late);
    PollCycle latePoll(state, latePort, late);
    latePort.replies = {kLiveFrame};
    const double start = late.monotonic();
    EXPECT_EQ(latePoll.poll(), PollCycle::Outcome::Decoded);
    EXPECT_NEAR(late.monotonic() - start, 0.2, 1e-9);
    EXPECT_EQ(latePort.writes.size(), 1u);
}

TEST_F(PollFixture, ClosingTheProgramEndsTheTickAtItsWait) {
    clock.duringWait = [&] { clock.requestStop(); };
    EXPECT_EQ(poll.poll(), PollCycle::Outcome::Stopped);
    EXPECT_EQ(port.writes.size(), 1u);
}

TEST_F(PollFixture, AnotherExchangeTakingTheLineEndsTheTick) {
    bool taken = false;
    poll.yielded = [&] { return taken; };
    clock.duringWait = [&] { taken = true; };
    port.replies = {kLiveFrame};
    EXPECT_EQ(poll.poll(), PollCycle::Outcome::Yielded);
    EXPECT_TRUE(state.Value.isEmpty());
}
