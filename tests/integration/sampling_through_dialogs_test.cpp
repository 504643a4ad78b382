// PC recording at 1 s on metersim through the real port and real time while a dialog, a message
// box or the clock window stays open: only meter exchanges may hold the poll, so every stamp
// follows the one before by exactly one second.
#include "common/AppContext.h"
#include "common/SharedState.h"
#include "common/ui/WindowOwner.h"
#include "integration/MeterSim.h"
#include "link/RealClock.h"
#include "link/SerialPort.h"
#include "panel/PortOpener.h"
#include "panel/ui/PanelWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedPrinter.h"
#include "support/TestContext.h"
#include "support/WindowLookup.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

class RecordingWindow : public RealTimeContext {
public:
    RecordingWindow() {
        state.ComDevice = metersim.device();
        window = std::make_unique<PanelWindow>(
            context, [](const AppContext& c) { return openerForChoice(c.state, c.clock); });
    }
    ~RecordingWindow() { window->close(); }

    // Runs the event loop until `done` holds; false when it does not within `seconds`.
    bool runUntil(const std::function<bool()>& done, double seconds = 20) {
        QElapsedTimer waited;
        waited.start();
        while (!done()) {
            if (waited.elapsed() > seconds * 1000)
                return false;
            QEventLoop loop;
            QTimer::singleShot(20, &loop, &QEventLoop::quit);
            loop.exec();
        }
        return true;
    }
    // What a modal dialog does while the user looks at it: an event loop of its own.
    static void holdOpen(double seconds) {
        QEventLoop loop;
        QTimer::singleShot(static_cast<int>(seconds * 1000), &loop, &QEventLoop::quit);
        loop.exec();
    }

    bool start() {
        if (!window->Form_Load() || !runUntil([this] { return state.FrameCount > 0; }))
            return false;
        state.SamplingTime = 1;
        state.SampleTick = 0;
        return true;
    }
    bool startRecording() {
        dialogs.saveAnswers = {path};
        window->Toolbar1_ButtonClick(QStringLiteral("Save"));
        return state.Recording;
    }
    QWidget* open(const QString& name) { return window->windows().open(name); }

    // The record file's time stamps, as seconds since the epoch of the local clock.
    QList<qint64> stamps() const {
        QFile file(path);
        QList<qint64> out;
        if (!file.open(QIODevice::ReadOnly))
            return out;
        file.readLine(); // header
        while (!file.atEnd()) {
            const QString line = QString::fromLatin1(file.readLine());
            const QDateTime at = QDateTime::fromString(line.section(u'\t', 1, 1),
                                                       QStringLiteral("dd/MM/yyyy HH:mm:ss"));
            out << (at.isValid() ? at.toSecsSinceEpoch() : -1);
        }
        return out;
    }

    MeterSim metersim;
    std::unique_ptr<PanelWindow> window;
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("rec.txt"));
};

// Every stamp one second after the one before.
void expectNoGap(const QList<qint64>& stamps, const char* what) {
    for (qsizetype i = 1; i < stamps.size(); ++i)
        EXPECT_EQ(stamps[i] - stamps[i - 1], 1) << what << ": record " << i + 1;
}

struct Opening {
    const char* name;
    // Opens the windows the dialog comes from, before recording starts (some read the meter).
    std::function<void(RecordingWindow&)> prepare;
    // A click that opens the dialog; it lands wherever the event loop happens to be.
    std::function<void(RecordingWindow&)> open;
    const char* kind; // what the dialog seam is asked
};

// Test names and listings show the opening's name.
void PrintTo(const Opening& opening, std::ostream* out) {
    *out << opening.name;
}

void clickOn(QWidget* window, const char* key) {
    ASSERT_TRUE(window) << key;
    click(window, key);
}

const Opening kOpenings[] = {
    {"SamplingPrompt", nullptr, [](RecordingWindow& r) { r.window->Toolbar1_ButtonClick("PC"); },
     "input"},
    {"OpenWhileRecordingMessage", nullptr,
     [](RecordingWindow& r) { r.window->Toolbar1_ButtonClick("Open"); }, "message"},
    {"GraphSavePictureDialog", [](RecordingWindow& r) { r.window->Toolbar1_ButtonClick("Graph"); },
     [](RecordingWindow& r) { clickOn(r.open("RealTimeGraph"), "SavePicture"); }, "save"},
    {"GraphRangeRejectedMessage",
     [](RecordingWindow& r) {
         r.window->Toolbar1_ButtonClick("Graph");
         clickOn(r.open("RealTimeGraph"), "Limit");
     },
     [](RecordingWindow& r) {
         QWidget* range = r.open("RealTimeRange");
         ASSERT_TRUE(range);
         child<QLineEdit>(range, "TxtMin")->setText("5");
         child<QLineEdit>(range, "TxtMax")->setText("1");
         child<QPushButton>(range, "CmdOK")->click();
     },
     "message"},
    {"LiveListSaveMessage", [](RecordingWindow& r) { r.window->Toolbar1_ButtonClick("List"); },
     [](RecordingWindow& r) { clickOn(r.open("RealTimeList"), "Save"); }, "message"},
    {"AlarmInvalidSettingsMessage",
     [](RecordingWindow& r) { r.window->Toolbar1_ButtonClick("Alarm"); },
     [](RecordingWindow& r) {
         QWidget* alarm = r.open("Alarm");
         ASSERT_TRUE(alarm);
         child<QLineEdit>(alarm, "TTH")->setText("");
         child<QPushButton>(alarm, "CmdOK")->click();
     },
     "message"},
};

class SamplingThroughDialogs : public ::testing::TestWithParam<Opening> {};

} // namespace

TEST_P(SamplingThroughDialogs, RecordingAtOneSecondKeepsEverySample) {
    const Opening& opening = GetParam();
    RecordingWindow r;
    ASSERT_TRUE(r.start());
    if (opening.prepare)
        opening.prepare(r);
    ASSERT_TRUE(r.startRecording());
    ASSERT_TRUE(r.runUntil([&] { return r.state.RecCount >= 2; }));

    bool opened = false;
    r.dialogs.whileOpen = [&] {
        opened = true;
        RecordingWindow::holdOpen(3.0);
    };
    // 130 ms from now the poll is somewhere in its cycle, as it is when a user clicks.
    QTimer::singleShot(130, r.window.get(), [&] { opening.open(r); });
    ASSERT_TRUE(r.runUntil([&] { return opened; }));
    const float atOpen = r.state.RecCount;
    ASSERT_TRUE(r.runUntil([&] { return r.state.RecCount >= atOpen + 4; }));
    r.dialogs.whileOpen = nullptr;
    r.window->Toolbar1_ButtonClick(QStringLiteral("Save"));

    ASSERT_FALSE(r.dialogs.shown.empty());
    EXPECT_EQ(r.dialogs.shown.back().kind, QString::fromLatin1(opening.kind));
    const QList<qint64> stamps = r.stamps();
    ASSERT_GE(stamps.size(), 9);
    expectNoGap(stamps, opening.name);
}

INSTANTIATE_TEST_SUITE_P(Openings, SamplingThroughDialogs, ::testing::ValuesIn(kOpenings),
                         [](const auto& info) { return std::string(info.param.name); });

// The clock window, opened during a recording and left open, lets the poll go on.
TEST(SamplingThroughClockWindow, RecordingGoesOnWhileTheClockWindowIsOpen) {
    RecordingWindow r;
    ASSERT_TRUE(r.start());
    ASSERT_TRUE(r.startRecording());
    ASSERT_TRUE(r.runUntil([&] { return r.state.RecCount >= 2; }));
    r.window->Toolbar1_ButtonClick(QStringLiteral("TimeSet"));
    QWidget* setup = r.open(QStringLiteral("Setup"));
    ASSERT_TRUE(setup);
    const float atOpen = r.state.RecCount;
    ASSERT_TRUE(r.runUntil([&] { return r.state.RecCount >= atOpen + 4; }));
    setup->close();
    r.window->Toolbar1_ButtonClick(QStringLiteral("Save"));
    const QList<qint64> stamps = r.stamps();
    ASSERT_GE(stamps.size(), 6);
    expectNoGap(stamps, "clock window");
}

// A minute at 1 s with the sampling prompt open for ten seconds in the middle: sixty records a
// second apart, the last within a second of the PC clock when recording stops.
TEST(SamplingThroughPrompt, MinuteWithThePromptOpenKeepsSixtyRecordsOnTheClock) {
    RecordingWindow r;
    ASSERT_TRUE(r.start());
    ASSERT_TRUE(r.startRecording());
    QElapsedTimer recording;
    recording.start();
    r.dialogs.whileOpen = [] { RecordingWindow::holdOpen(10.0); };
    QTimer::singleShot(25'000, r.window.get(),
                       [&] { r.window->Toolbar1_ButtonClick(QStringLiteral("PC")); });
    ASSERT_TRUE(r.runUntil([&] { return r.state.RecCount >= 60; }, 90));
    r.window->Toolbar1_ButtonClick(QStringLiteral("Save"));
    const qint64 stoppedAt = QDateTime::currentSecsSinceEpoch();

    ASSERT_EQ(r.dialogs.shown.size(), 2u); // the recording's file, then the prompt
    const QList<qint64> stamps = r.stamps();
    ASSERT_EQ(stamps.size(), 60);
    expectNoGap(stamps, "a minute");
    EXPECT_LE(std::abs(stoppedAt - stamps.last()), 1);
    EXPECT_LT(recording.elapsed(), 63'000);
}
