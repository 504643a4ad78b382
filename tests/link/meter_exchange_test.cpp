#include "link/MeterExchange.h"
#include "support/ScriptedPort.h"
#include "support/VirtualClock.h"

#include <gtest/gtest.h>
#include <map>

namespace {

const QByteArray kFrame = fromHexText("02 35 00 00 03");

// A meter on the line: a byte that finds it asleep only wakes it; awake, it answers " " with a
// live frame and a command with its reply, then sleeps. It sleeps 0.3 s after its last byte.
struct TestMeter {
    explicit TestMeter(ScriptedPort& p, Clock& c)
        : port(p)
        , clock(c) {
        port.onOutput = [this](const QByteArray& w) { received(w); };
    }
    void received(const QByteArray& w) {
        const bool awake = !asleep && clock.monotonic() - lastByteAt < 0.3;
        lastByteAt = clock.monotonic();
        asleep = false;
        if (!awake)
            return;
        if (w == " ") {
            port.deliver(kFrame);
        } else if (answers.count(w)) {
            if (ignore-- <= 0)
                send(answers[w]);
            asleep = true;
        }
    }
    ScriptedPort& port;
    Clock& clock;
    std::map<QByteArray, QByteArray> answers;
    int ignore = 0; // commands swallowed without an answer first
    std::function<void(const QByteArray&)> send = [this](const QByteArray& r) { port.deliver(r); };
    double lastByteAt = -1;
    bool asleep = true;
};

struct Line {
    VirtualClock clock;
    ScriptedPort port{clock};
    QStringList trace;
    TestMeter meter{port, clock};
    MeterExchange exchange{port, clock};
    Line() {
        clock.trace = port.trace = &trace;
        port.open(nullptr);
    }
};

const QStringList kWake = {"input 0", "out 20", "wait 0.2", "out 20", "wait 0.2", "wait 0.2"};
const QByteArray kSettings = fromHexText("04 D2 00 02 03 40 01 3C 00");

TEST(MeterExchange, CommandsAreByteExact) {
    const struct {
        const char* name;
        std::function<bool(MeterExchange&)> run;
        QStringList trace;
        int swallowed = 0;
    } cases[] = {
        {"settings", [](MeterExchange& e) { return e.ReadSettings().reply == kSettings; },
         kWake + QStringList{"input 5", "out 20", "wait 0.2", "out 59", "wait 0.2", "input 9"}},
        {"clock", [](MeterExchange& e) { return e.ReadClock().reply.size() == 6; },
         kWake + QStringList{"input 5", "out 20", "wait 0.2", "out 43", "wait 0.2", "input 6"}},
        {"set 3",
         [](MeterExchange& e) { return e.ReadSet(3, 2).reply == fromHexText("AA").repeated(15); },
         kWake + QStringList{"input 5", "out 20", "wait 0.2", "out 4B", "wait 0.2", "out 03",
                             "wait 0.2", "input 15"}},
        {"index",
         [](MeterExchange& e) { return e.ReadSetIndex(2).reply.size() == 23; },
         {"input 0", "out 20", "wait 0.2", "out 49", "wait 0.2", "input 23"}},
        {"index asked again while nothing came",
         [](MeterExchange& e) { return e.ReadSetIndex(2).reply.size() == 23; },
         {"input 0", "out 20", "wait 0.2", "out 49", "wait 0.2", "input 0", "input 0", "out 20",
          "wait 0.2", "out 49", "wait 0.2", "input 23"},
         1},
        {"set clock",
         [](MeterExchange& e) {
             return e.SetClock(QDateTime(QDate(2010, 6, 22), QTime(14, 5, 9))) == LinkStatus::Ok;
         },
         kWake + QStringList{"out 20", "wait 0.2", "out 44", "wait 0.2", "out 10 06 22 14 05 09"}},
        {"unit", [](MeterExchange& e) { return e.ToggleUnit() == LinkStatus::Ok; },
         kWake + QStringList{"input 5", "out 20", "wait 0.2", "out 46 08"}},
        {"erase",
         [](MeterExchange& e) { return e.EraseMemory() == LinkStatus::Ok; },
         {"input 0", "out 20", "wait 0.2", "input 0", "input 0", "out 20", "wait 0.2", "input 5",
          "out 45", "wait 0.2", "out 45", "wait 0.2", "out 45", "wait 0.2"}},
    };
    for (const auto& c : cases) {
        Line line;
        line.meter.answers = {{"Y", kSettings},
                              {"C", fromHexText("09 10 06 22 14 05")},
                              {"I", QByteArray(23, 'i')},
                              {QByteArray(1, 3), fromHexText("AA").repeated(15)}};
        line.meter.ignore = c.swallowed;
        EXPECT_TRUE(c.run(line.exchange)) << c.name;
        EXPECT_EQ(line.trace, c.trace) << c.name;
    }
}

TEST(MeterExchange, WriteSettingWord) {
    const struct {
        quint8 low, high;
        qint64 value;
        QStringList writes;
        LinkStatus status;
    } cases[] = {
        {0, 1, 65535, {"20", "57 00 00 FF", "20", "57 00 01 FF"}, LinkStatus::Ok},
        {7, 8, 300, {"20", "57 00 07 2C", "20", "57 00 08 01"}, LinkStatus::Ok},
        {0, 1, 0, {"20", "57 00 00 00", "20", "57 00 01 00"}, LinkStatus::Ok},
        {0, 1, 65536, {}, LinkStatus::OutOfRange},
        {7, 8, -1, {}, LinkStatus::OutOfRange},
    };
    for (const auto& c : cases) {
        Line line;
        const double start = line.clock.monotonic();
        EXPECT_EQ(line.exchange.WriteSettingWord(c.low, c.high, c.value), c.status) << c.value;
        ASSERT_EQ(line.port.writtenHex(), c.writes) << c.value;
        if (c.status == LinkStatus::Ok) { // a pause after every write
            EXPECT_NEAR(line.clock.monotonic() - line.port.writes[0].time, 0.8, 1e-9);
        } else { // refused before the first byte: no time spent either
            EXPECT_EQ(line.clock.monotonic(), start) << c.value;
        }
    }
}

TEST(MeterExchange, WakeMeterEndsOnlyOnExactlyFiveBytes) {
    const struct {
        QList<QByteArray> answers;
        QStringList trace;
    } cases[] = {
        {{kFrame}, {"out 20", "wait 0.2"}},
        {{"1234", "5"}, {"out 20", "wait 0.2", "out 20", "wait 0.2"}},
        {{"123456", kFrame}, {"out 20", "wait 0.2", "input 6", "out 20", "wait 0.2"}},
    };
    for (const auto& c : cases) {
        Line line;
        line.port.onOutput = nullptr;
        line.port.replies.assign(c.answers.begin(), c.answers.end());
        EXPECT_EQ(line.exchange.WakeMeter(), LinkStatus::Ok);
        EXPECT_EQ(line.trace, c.trace) << c.answers.size();
    }
}

TEST(MeterExchange, ShortFixedReplyRepeatsTheWholeExchange) {
    Line line;
    line.meter.answers = {{"Y", kSettings}};
    int sent = 0;
    line.meter.send = [&](const QByteArray& r) {
        line.port.deliver(r.left(++sent == 1 ? 8 : 9));
        line.port.deliver(r.mid(8), 0.3); // the ninth byte comes after the read
    };
    const auto result = line.exchange.ReadSettings();
    EXPECT_EQ(result.reply, kSettings);
    EXPECT_EQ(line.port.writtenHex().count("59"), 2);
    const QStringList firstTry = kWake + QStringList{"input 5",  "out 20",  "wait 0.2", "out 59",
                                                     "wait 0.2", "input 8", "input 0"};
    EXPECT_EQ(line.trace.mid(0, 13), firstTry);
}

TEST(MeterExchange, SilentMeterGivesUpAfterFiveSeconds) {
    const struct {
        const char* name;
        std::function<LinkStatus(MeterExchange&)> run;
        double seconds;
    } cases[] = {
        {"wake", [](MeterExchange& e) { return e.WakeMeter(); }, 5.0},
        {"settings", [](MeterExchange& e) { return e.ReadSettings().status; }, 5.0},
        {"clock", [](MeterExchange& e) { return e.ReadClock().status; }, 5.0},
        {"set", [](MeterExchange& e) { return e.ReadSet(1, 10).status; }, 5.0},
        {"set clock", [](MeterExchange& e) { return e.SetClock({}); }, 5.0},
        {"unit", [](MeterExchange& e) { return e.ToggleUnit(); }, 5.0},
        {"erase", [](MeterExchange& e) { return e.EraseMemory(); }, 5.0},
        {"index", [](MeterExchange& e) { return e.ReadSetIndex(3).status; }, 5.6},
    };
    for (const auto& c : cases) {
        Line line;
        line.port.onOutput = [](const QByteArray&) {};
        const double start = line.clock.monotonic();
        EXPECT_EQ(c.run(line.exchange), LinkStatus::NoReply) << c.name;
        EXPECT_NEAR(line.clock.monotonic() - start, c.seconds, 0.01) << c.name;
        EXPECT_FALSE(line.port.writtenHex().contains("45")) << c.name;
    }
}

TEST(MeterExchange, CollectionInPiecesReportsProgressAndCapsTheReply) {
    const struct {
        int extra, pieces;
        double gap;
        LinkStatus status;
        QList<double> progress;
    } cases[] = {
        {0, 3, 0.5, LinkStatus::Ok, {11 * 100.0 / 31, 22 * 100.0 / 31, 100}},
        {9, 4, 1.0, LinkStatus::Ok, {10 * 100.0 / 31, 20 * 100.0 / 31, 30 * 100.0 / 31, 100}},
        {-11, 2, 4.9, LinkStatus::NoReply, {10 * 100.0 / 31, 20 * 100.0 / 31}},
    };
    for (const auto& c : cases) {
        Line line;
        const QByteArray dump = QByteArray(31 + c.extra, 'd');
        line.meter.answers = {{QByteArray(1, 3), dump}};
        line.meter.send = [&](const QByteArray& r) {
            line.port.deliverPieces(r, c.pieces, 0.01, c.gap);
        };
        QList<double> progress;
        const auto result = line.exchange.ReadSet(3, 10, [&](double p) {
            if (progress.isEmpty() || progress.back() != p)
                progress << p;
        });
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.reply, dump.left(31));
        EXPECT_EQ(progress, c.progress) << c.extra;
    }
}

TEST(MeterExchange, ClosingEndsTheExchangeAtItsNextWait) {
    for (const bool programClosing : {true, false}) {
        Line line;
        bool windowClosed = false;
        MeterExchange exchange(line.port, line.clock, [&] { return windowClosed; });
        line.clock.duringWait = [&] {
            if (line.clock.waitCount == 3)
                programClosing ? line.clock.requestStop() : void(windowClosed = true);
        };
        EXPECT_EQ(exchange.WriteSettingWord(0, 1, 1234), LinkStatus::Cancelled);
        EXPECT_EQ(line.port.writtenHex(), QStringList({"20", "57 00 00 D2", "20"}));
        EXPECT_EQ(exchange.ReadSettings().status, LinkStatus::Cancelled);
    }
}

} // namespace
