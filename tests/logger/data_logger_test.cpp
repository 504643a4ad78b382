#include "common/AppContext.h"
#include "common/SharedState.h"
#include "logger/DataLogger.h"
#include "logger/LoggerWindow.h"
#include "logger/SetListModel.h"
#include "records/RecordTableModel.h"
#include "sim/engine/DemoPort.h"
#include "sim/engine/MeterEngine.h"
#include "support/ForwardingPort.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedPort.h"
#include "support/ScriptedPrinter.h"
#include "support/VirtualClock.h"

#include <QRegularExpression>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct FakeWindow : LoggerWindow {
    void showWindow() override { ++shown; }
    bool closed() const override { return isClosed; }
    void closeWindow() override { isClosed = true; }
    void setCapacityText(const QString& text) override { capacity = text; }
    QString idText() const override { return id; }
    void setIdText(const QString& text) override { id = text; }
    QString intervalText() const override { return interval; }
    void setIntervalText(const QString& text) override { interval = text; }
    void setUsagePercent(double percent) override { usage.push_back(percent); }
    void setTransferPercent(double percent) override { transfer.push_back(percent); }
    int setRowCount() const override { return grid.rowCount(); }
    QString setCell(int row, int column) const override { return grid.cell(row, column); }
    void appendSetRow(const QString& row) override { grid.appendRow(row); }

    int shown = 0;
    bool isClosed = false;
    QString capacity = QStringLiteral("Capacity : 16 K"), id, interval;
    std::vector<double> usage, transfer;
    SetListModel grid;
};

struct FakeList : DownloadedList {
    QString caption() const override { return title; }
    void setCaption(const QString& c) override { captions << (title = c); }
    void show() override { shown = true; }
    void close() override { closed = true; }
    void appendRows(const QStringList& r) override { rows << r; }
    void setFilling(bool f) override { fillings.push_back(f); }

    QString title = QStringLiteral("Data List");
    QStringList captions, rows;
    std::vector<bool> fillings;
    bool shown = false, closed = false;
};

MeterEngine::LoggedSet loggedSet(std::array<quint8, 6> start, quint8 code, quint16 interval,
                                 int samples) {
    MeterEngine::LoggedSet s{start, code, interval, {}};
    for (int j = 0; j < samples; ++j)
        s.samples += fromHexText("45 13");
    return s;
}
const std::array<quint8, 6> kStart = {0x10, 0x06, 0x22, 0x14, 0x05, 0x09};

struct Bench {
    Bench() {
        state.ComPort = 3;
        engine.setIdCode(1234);
        engine.setInterval(60);
        engine.setDrift(false);
        port.open(nullptr);
        context.port = &port;
        context.poll.addSwitch(this, [this](bool on) { poll.push_back(on); });
        context.setPortLabel = [this](const QString& t) { portLabels << t; };
    }
    std::shared_ptr<FakeList> obtain() {
        if (noList)
            return nullptr;
        if (!lists.empty() && lists.back()->shown)
            lists.back()->closed = true;
        lists.push_back(std::make_shared<FakeList>());
        return lists.back();
    }
    bool sent(const char* hex) const { return port.writes.contains(QString::fromLatin1(hex)); }
    void addSets(int count, int samples = 3) {
        for (int i = 0; i < count; ++i)
            engine.addSet(loggedSet(kStart, 0x04, static_cast<quint16>(60 + i), samples + i));
    }

    VirtualClock clock;
    SharedState state;
    ScriptedDialogs dialogs;
    ScriptedPrinter printer;
    MeterEngine engine;
    DemoPort demo{engine, clock};
    ForwardingPort port{demo}; // the simulated meter, its writes recorded
    std::vector<bool> poll;
    QStringList portLabels;
    AppContext context{state, clock, dialogs, printer};
    FakeWindow window;
    std::vector<std::shared_ptr<FakeList>> lists;
    bool noList = false; // no list can be had for a download
    DataLogger logger{context, window, [this] { return obtain(); }};
};

} // namespace

TEST(DataLogger, SetListShowsSettingsAndOneRowPerSet) {
    for (const int n : {2, 9}) {
        Bench b;
        b.addSets(n);
        // Dumps of the sets read before: none of them may stand for the sets listed now.
        b.state.SetCache[0] = "kept";
        for (const int set : {1, 2, 255})
            b.state.SetCache[set] = "stale";
        b.logger.readSetList();
        EXPECT_EQ(b.window.shown, 1);
        EXPECT_EQ(b.window.capacity, "Capacity : 32 K");
        EXPECT_EQ(b.window.id, "1234");
        EXPECT_EQ(b.window.interval, "60");
        EXPECT_EQ(b.state.MeterID.text(), "1234");
        ASSERT_EQ(b.window.grid.rowCount(), n + 1) << n;
        QStringList last;
        for (int c = 0; c < SetListModel::kColumns; ++c)
            last << b.window.grid.cell(n, c);
        EXPECT_EQ(last.join('\t'), QStringLiteral("%1\t22/06/2010\t14:05:09\t2000 LUX\t%2\t%3")
                                       .arg(n)
                                       .arg(59 + n)
                                       .arg(2 + n));
        ASSERT_FALSE(b.window.transfer.empty());
        EXPECT_EQ(b.window.transfer.back(), 100.0);
        EXPECT_EQ(b.state.SetCache[0], "kept");
        for (const int set : {1, 2, 255})
            EXPECT_TRUE(b.state.SetCache[set].isEmpty()) << set;
        EXPECT_TRUE(b.state.MemoryOn);
        EXPECT_EQ(b.poll, std::vector<bool>({false, true}));
        EXPECT_TRUE(b.dialogs.shown.empty());
    }
}

TEST(DataLogger, NoSetsButMemoryInUseGivesAnEmptyList) {
    Bench b;
    ScriptedPort port(b.clock);
    double lastByte = -1;
    port.onOutput = [&](const QByteArray& w) { // awake only within 0.3 s of the last byte
        const bool awake = b.clock.monotonic() - lastByte < 0.3;
        lastByte = b.clock.monotonic();
        if (awake && w == " ")
            port.deliver(fromHexText("02 35 00 00 03"));
        else if (awake && (w == "Y" || w == "I")) {
            port.deliver(fromHexText(w == "Y" ? "04 D2 00 02 00 40 01 3C 00" : "00"));
            lastByte = -1;
        }
    };
    b.context.port = &port;
    b.logger.readSetList();
    EXPECT_TRUE(port.writtenHex().contains("49"));
    EXPECT_EQ(b.window.grid.rowCount(), 1);
    EXPECT_NEAR(b.window.usage.at(0), 0.9765625, 1e-9);
    ASSERT_FALSE(b.window.transfer.empty());
    EXPECT_EQ(b.window.transfer.back(), 100.0);
    EXPECT_TRUE(b.dialogs.shown.empty());
}

TEST(DataLogger, EmptyMemoryStopsAfterTheSettings) {
    Bench b;
    b.logger.readSetList();
    ASSERT_EQ(b.dialogs.messages(), QStringList{"No Data in Memory"});
    EXPECT_EQ(b.dialogs.shown[0].icon, Dialogs::Icon::Critical);
    EXPECT_EQ(b.window.capacity, "Capacity : 32 K");
    EXPECT_EQ(b.window.id, "1234");
    EXPECT_EQ(b.window.grid.rowCount(), 1);
    EXPECT_TRUE(b.window.usage.empty());
    EXPECT_FALSE(b.sent("49"));
    EXPECT_EQ(b.poll, std::vector<bool>({false, true}));
    const qsizetype writes = b.port.writes.size();
    b.logger.readSetList(); // the window is still open
    EXPECT_EQ(b.port.writes.size(), writes);
}

TEST(DataLogger, MemoryButtonGuardsAndUsage) {
    const struct {
        bool memoryOn, rec, hold, memFull;
        bool runs;
        double usage;
    } cases[] = {
        {true, false, false, false, false, 0},    {false, true, false, false, false, 0},
        {false, false, true, false, false, 0},    {false, false, false, false, true, 0.6897},
        {false, false, false, true, true, 100.0},
    };
    for (const auto& c : cases) {
        Bench b;
        b.addSets(1, 100); // 15 + 11 + 200 bytes in use
        b.state.MemoryOn = c.memoryOn;
        b.state.MeterRec = c.rec;
        b.state.HoldOn = c.hold;
        b.state.MemFull = c.memFull;
        b.logger.readSetList();
        EXPECT_EQ(b.window.shown, c.runs ? 1 : 0);
        EXPECT_EQ(b.port.writes.isEmpty(), !c.runs);
        EXPECT_EQ(b.poll.empty(), !c.runs);
        if (c.runs) {
            EXPECT_NEAR(b.window.usage.at(0), c.usage, 1e-4);
        }
    }
}

TEST(DataLogger, DownloadFillsTheListWithProgress) {
    Bench b;
    b.addSets(1, 2499);
    b.engine.setPaced(true);
    b.logger.readSetList();
    b.window.transfer.clear();
    b.logger.downloadSet(1);
    ASSERT_EQ(b.lists.size(), 1u);
    const FakeList& list = *b.lists[0];
    EXPECT_TRUE(b.sent("4B") && b.sent("01"));
    ASSERT_EQ(list.rows.size(), 2499);
    EXPECT_EQ(list.rows[0], "1\t22/06/2010 14:05:09\t1345\t");
    EXPECT_EQ(list.rows[2].section('\t', 1, 1), "22/06/2010 14:07:09");
    EXPECT_EQ(list.captions,
              QStringList({"1000 records completed", "2000 records completed",
                           "2499 records completed", "Data List---*ID=1234 Range:2000/LUX"}));
    ASSERT_GT(b.window.transfer.size(), 100u);
    EXPECT_TRUE(std::is_sorted(b.window.transfer.begin(), b.window.transfer.end()));
    EXPECT_LT(b.window.transfer.front(), 10.0);
    EXPECT_EQ(b.window.transfer.back(), 100.0);
    EXPECT_EQ(b.state.SetCache[1].size(), 11 + 2 * 2499);
    EXPECT_EQ(b.poll, std::vector<bool>({false, true, false, true}));
    EXPECT_EQ(b.portLabels, QStringList{"COM3"});

    // A second click takes the set from the cache and builds a fresh list.
    const qsizetype writes = b.port.writes.size();
    b.logger.downloadSet(1);
    EXPECT_EQ(b.port.writes.size(), writes);
    ASSERT_EQ(b.lists.size(), 2u);
    EXPECT_TRUE(b.lists[0]->closed);
    EXPECT_EQ(b.lists[1]->rows, list.rows);
    EXPECT_EQ(b.lists[1]->title, list.title);
}

TEST(DataLogger, ClicksThatNameNoSetOrCarryOddSetsEndSoundly) {
    Bench b;
    b.engine.addSet(loggedSet(kStart, 0x03, 30, 0));
    b.engine.addSet(loggedSet({0x10, 0x13, 0x45, 0x25, 0x00, 0x00}, 0x04, 30, 3));
    b.logger.readSetList();
    for (const int row : {0, 3}) { // the title row; past the last set
        b.logger.downloadSet(row);
        EXPECT_TRUE(b.lists.empty());
    }
    b.logger.downloadSet(1); // no samples: no rows, still the header
    EXPECT_TRUE(b.lists.at(0)->rows.isEmpty());
    EXPECT_EQ(b.lists[0]->captions, QStringList{"Data List---*ID=1234 Range:200/Fc"});
    b.logger.downloadSet(2); // a start date that does not exist: the first sample only
    EXPECT_EQ(b.lists.at(1)->rows.size(), 1);
    EXPECT_EQ(b.lists[1]->title, "Data List---*ID=1234 Range:2000/LUX");
    EXPECT_EQ(b.lists[1]->fillings, std::vector<bool>({true, false}));
    ASSERT_EQ(b.dialogs.shown.size(), 1u);
    EXPECT_EQ(b.dialogs.shown[0].text,
              "The set's start time 2010/13/45 25:00:00 is no valid date and time; the samples "
              "after the first cannot be dated.");
    EXPECT_EQ(b.dialogs.shown[0].icon, Dialogs::Icon::Critical);
    ASSERT_FALSE(b.poll.empty());
    EXPECT_EQ(b.poll.back(), true);
    EXPECT_EQ(b.portLabels, QStringList({"COM3", "COM3"}));
}

// Each way a download can end starts the poll and restores the port label once; a message it
// shows finds the poll running and the window still refusing clicks.
TEST(DataLogger, EveryEndOfADownloadGivesThePollAndThePortLabelBack) {
    const QString noDate = "The set's start time 2010/13/45 25:00:00 is no valid date and time; "
                           "the samples after the first cannot be dated.";
    const struct {
        const char* name;
        std::function<void(Bench&)> run;
        QStringList messages;
        bool shown; // the list was filled and shown; otherwise closed unseen
        bool asks;  // the meter is asked for the set
    } cases[] = {
        {"no list to fill",
         [](Bench& b) {
             b.noList = true;
             b.logger.downloadSet(2);
         },
         {},
         false,
         false},
        {"set number past the cache",
         [](Bench& b) {
             b.window.appendSetRow("256\t22/06/2010\t14:05:09\t2000\t60\t3");
             b.logger.downloadSet(3);
         },
         {},
         false,
         false},
        {"more samples than a set holds",
         [](Bench& b) {
             b.window.appendSetRow("2\t22/06/2010\t14:05:09\t2000\t60\t65536");
             b.logger.downloadSet(3);
         },
         {},
         false,
         false},
        {"silent meter",
         [](Bench& b) {
             b.engine.setSilent(true);
             b.logger.downloadSet(2);
         },
         {"Meter not responding, check the connection and try again!"},
         false,
         true},
        {"complete", [](Bench& b) { b.logger.downloadSet(2); }, {}, true, true},
        {"a start that is no date",
         [](Bench& b) { b.logger.downloadSet(1); },
         {noDate},
         true,
         true},
    };
    for (const auto& c : cases) {
        Bench b;
        b.engine.addSet(loggedSet({0x10, 0x13, 0x45, 0x25, 0x00, 0x00}, 0x04, 30, 3));
        b.addSets(1);
        b.logger.readSetList();
        b.poll.clear();
        const qsizetype writesBefore = b.port.writes.size();
        using PollAndBusy = std::pair<bool, bool>;
        std::vector<PollAndBusy> atMessages; // at each message: the poll runs, the window is busy
        b.dialogs.whileOpen = [&] {
            atMessages.emplace_back(!b.poll.empty() && b.poll.back(), b.logger.busy());
        };
        c.run(b);
        EXPECT_EQ(b.dialogs.messages(), c.messages) << c.name;
        EXPECT_EQ(atMessages, std::vector<PollAndBusy>(c.messages.size(), PollAndBusy(true, true)))
            << c.name;
        EXPECT_EQ(b.poll, std::vector<bool>({false, true})) << c.name;
        EXPECT_EQ(b.portLabels, QStringList{"COM3"}) << c.name;
        EXPECT_FALSE(b.logger.busy()) << c.name;
        EXPECT_EQ(b.port.writes.size() > writesBefore, c.asks) << c.name;
        if (b.noList) {
            EXPECT_TRUE(b.lists.empty());
            continue;
        }
        ASSERT_EQ(b.lists.size(), 1u) << c.name;
        EXPECT_EQ(b.lists[0]->shown, c.shown) << c.name;
        EXPECT_EQ(b.lists[0]->closed, !c.shown) << c.name;
    }
}

TEST(DataLogger, SilentMeterEndsEachExchangeAndLeavesTheWindowUsable) {
    const struct {
        const char* name;
        const char* silentAfter; // written bytes after which the meter falls silent, "" at once
        int cut;                 // received bytes after which the line is cut
        std::function<void(Bench&)> run;
    } cases[] = {
        {"settings", "", 1 << 30, [](Bench& b) { b.logger.readSetList(); }},
        {"index", "49", 1 << 30, [](Bench& b) { b.logger.readSetList(); }},
        {"download", "4B", 1 << 30, [](Bench& b) { b.logger.downloadSet(1); }},
        {"download broken off", "--", 300, [](Bench& b) { b.logger.downloadSet(1); }},
        {"erase", "", 1 << 30,
         [](Bench& b) {
             b.dialogs.confirmAnswers = {true};
             b.logger.eraseMemory();
         }},
    };
    for (const auto& c : cases) {
        Bench b;
        b.addSets(2, 200);
        if (QByteArray(c.name).startsWith("download")) {
            b.logger.readSetList();
            b.poll.clear();
            b.port.cutAfter = b.port.received + c.cut;
        }
        b.engine.setSilent(!*c.silentAfter);
        b.port.onOutput = [&](const QByteArray& w) {
            if (hexText(w) == c.silentAfter)
                b.engine.setSilent(true);
        };
        const double start = b.clock.monotonic();
        c.run(b);
        EXPECT_LT(b.clock.monotonic() - start, 7.0) << c.name;
        ASSERT_EQ(b.dialogs.messages(),
                  QStringList{"Meter not responding, check the connection and try again!"})
            << c.name;
        EXPECT_EQ(b.dialogs.shown.back().icon, Dialogs::Icon::Critical);
        ASSERT_FALSE(b.poll.empty()) << c.name;
        EXPECT_EQ(b.poll.back(), true) << c.name;
        EXPECT_FALSE(b.window.isClosed) << c.name;
        EXPECT_FALSE(b.logger.busy());
        ASSERT_FALSE(b.window.transfer.empty()) << c.name;
        EXPECT_EQ(b.window.transfer.back(), 0.0) << c.name;
        EXPECT_TRUE(b.state.SetCache[1].isEmpty()) << c.name;
        if (b.lists.size() == 1) { // the download: label back, no list left, and a retry works
            EXPECT_EQ(b.portLabels, QStringList{"COM3"});
            EXPECT_TRUE(b.lists[0]->closed && !b.lists[0]->shown);
            b.engine.setSilent(false);
            b.port.onOutput = nullptr;
            b.port.cutAfter = ForwardingPort::kNoCut;
            b.logger.downloadSet(1);
            EXPECT_EQ(b.lists.at(1)->rows.size(), 200) << c.name;
        }
    }
}

TEST(DataLogger, ClosingTheWindowDuringADownloadEndsItQuietly) {
    Bench b;
    b.addSets(1, 500);
    b.engine.setPaced(true);
    b.logger.readSetList();
    b.window.transfer.clear();
    b.clock.duringWait = [&] { b.window.isClosed = !b.window.transfer.empty(); };
    b.logger.downloadSet(1);
    EXPECT_TRUE(b.dialogs.shown.empty());
    EXPECT_TRUE(b.lists.at(0)->closed && !b.lists[0]->shown);
    EXPECT_TRUE(b.state.SetCache[1].isEmpty());
    ASSERT_FALSE(b.poll.empty());
    EXPECT_EQ(b.poll.back(), true);
    EXPECT_EQ(b.portLabels, QStringList{"COM3"});
}

TEST(DataLogger, ClicksDuringAnExchangeAreRefused) {
    Bench b;
    b.addSets(2);
    b.window.id = b.window.interval = "1";
    b.dialogs.confirmAnswers = {true};
    b.dialogs.inputAnswers = {"7", "7"};
    b.clock.duringWait = [&] {
        b.logger.downloadSet(1);
        b.logger.changeId(DataLogger::Origin::Label);
        b.logger.changeInterval(DataLogger::Origin::Panel);
        b.logger.eraseMemory();
    };
    b.logger.readSetList();
    b.logger.downloadSet(2);
    EXPECT_TRUE(b.dialogs.shown.empty());
    EXPECT_EQ(b.lists.size(), 1u);
    EXPECT_EQ(b.port.writes.filter(QRegularExpression("^(57|45)")), QStringList());
    EXPECT_EQ(b.engine.sets().size(), 2);
}

TEST(DataLogger, SettingChanges) {
    using O = DataLogger::Origin;
    const QString idLabel = "Input an id code from 0 to 65535 and press OK to confirm.\r\n";
    const QString idPanel = "Enter the Willing ID\r\n(0 <= ID Code <= 65535 ) ";
    const QString intLabel =
        "Input a sample interval time from 1 to 65535 seconds and press OK to confirm.\r\n";
    const QString intPanel = "Enter the Willing Interval in second\r\n(0 <= interval <= 65535 ) ";
    const struct {
        bool id;
        O origin;
        const char* shown;
        std::optional<QString> answer;
        QString prompt;
        QStringList writes;
        const char* after;
        bool invalid;
        bool polled = !writes.isEmpty();
    } cases[] = {
        {true,
         O::Label,
         "1200",
         "1234",
         idLabel,
         {"20", "57 00 00 D2", "20", "57 00 01 04"},
         "1234",
         false},
        {true, O::Panel, "1200", "70000", idPanel, {}, "1200", true, true},
        {true,
         O::Panel,
         "1200",
         " 65535 ",
         idPanel,
         {"20", "57 00 00 FF", "20", "57 00 01 FF"},
         "65535",
         false},
        {true, O::Label, "1200", "12abc", idLabel, {}, "1200", true},
        {true, O::Label, "1200", std::nullopt, idLabel, {}, "1200", false},
        {true, O::Label, "", "5", QString(), {}, "", true},
        {false,
         O::Label,
         "60",
         "-5",
         intLabel,
         {"20", "57 00 07 05", "20", "57 00 08 00"},
         "5",
         false},
        {false,
         O::Panel,
         "60",
         "-12.7",
         intPanel,
         {"20", "57 00 07 0C", "20", "57 00 08 00"},
         "12",
         false},
        {false,
         O::Panel,
         "60",
         "0",
         intPanel,
         {"20", "57 00 07 00", "20", "57 00 08 00"},
         "0",
         false},
        {false, O::Panel, "60", std::nullopt, intPanel, {}, "60", false},
        {false, O::Label, "", "5", QString(), {}, "", true},
    };
    for (const auto& c : cases) {
        Bench b;
        ScriptedPort port(b.clock);
        QStringList trace;
        port.trace = b.clock.trace = &trace;
        b.context.port = &port;
        (c.id ? b.window.id : b.window.interval) = c.shown;
        b.state.MeterID = Value::fromNumber(1200);
        b.dialogs.inputAnswers = {c.answer};
        c.id ? b.logger.changeId(c.origin) : b.logger.changeInterval(c.origin);
        const QString label = QString::fromLatin1(c.id ? "1234 " : "int ") + c.answer.value_or("");
        EXPECT_EQ(port.writtenHex(), c.writes) << qPrintable(label);
        EXPECT_EQ(c.id ? b.window.id : b.window.interval, c.after) << qPrintable(label);
        EXPECT_EQ(b.state.MeterID.text(), c.id && !c.writes.isEmpty() ? c.after : "1200");
        EXPECT_EQ(b.dialogs.messages(),
                  c.invalid ? QStringList{"Invalid, 0 < = Input Data < = 65535."} : QStringList())
            << qPrintable(label);
        if (c.invalid) {
            ASSERT_FALSE(b.dialogs.shown.empty()) << qPrintable(label);
            EXPECT_EQ(b.dialogs.shown.back().icon, Dialogs::Icon::Critical) << qPrintable(label);
        }
        if (!c.prompt.isEmpty()) {
            ASSERT_EQ(b.dialogs.shown.at(0).kind, "input");
            EXPECT_EQ(b.dialogs.shown[0].text, c.prompt);
            EXPECT_EQ(b.dialogs.shown[0].title, c.id ? "Input ID Code" : "Input Interval");
            EXPECT_EQ(b.dialogs.shown[0].defaultText, c.shown);
        }
        if (!c.writes.isEmpty()) {
            EXPECT_EQ(trace, QStringList({"out 20", "wait 0.2", "out " + c.writes[1], "wait 0.2",
                                          "out 20", "wait 0.2", "out " + c.writes[3], "wait 0.2"}));
        }
        // The poll is stopped only for a write and always started again after it.
        EXPECT_EQ(b.poll, c.polled ? std::vector<bool>({false, true}) : std::vector<bool>())
            << qPrintable(label);
    }
}

TEST(DataLogger, SettingWritesReachTheMeter) {
    Bench b;
    b.window.id = "0";
    b.window.interval = "60";
    b.dialogs.inputAnswers = {"1234", "300"};
    b.logger.changeId(DataLogger::Origin::Panel);
    b.logger.changeInterval(DataLogger::Origin::Label);
    EXPECT_EQ(b.engine.idCode(), 1234);
    EXPECT_EQ(b.engine.interval(), 300);
}

TEST(DataLogger, EraseAsksFirst) {
    for (const bool ok : {false, true}) {
        Bench b;
        b.addSets(2);
        b.dialogs.confirmAnswers = {ok};
        b.logger.eraseMemory();
        ASSERT_EQ(b.dialogs.shown.size(), 1u);
        EXPECT_EQ(b.dialogs.shown[0].text, "All saved data in memory will be deleted.");
        EXPECT_EQ(b.dialogs.shown[0].title, "Warning");
        EXPECT_EQ(b.port.writes.isEmpty(), !ok);
        EXPECT_EQ(b.engine.sets().size(), ok ? 0 : 2);
        EXPECT_EQ(b.window.isClosed, ok);
        EXPECT_EQ(b.poll, ok ? std::vector<bool>({false, true}) : std::vector<bool>());
    }
}
