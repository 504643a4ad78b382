#include "common/AppContext.h"
#include "common/SharedState.h"
#include "logger/ui/MemoryWindow.h"
#include "panel/ui/PanelWindow.h"
#include "records/ui/RecordListWindow.h"
#include "sim/engine/DemoPort.h"
#include "sim/engine/MeterEngine.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedPrinter.h"
#include "support/VirtualClock.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTableView>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The main window on the simulated meter, on virtual time.
struct RecordingFixture : ::testing::Test {
    RecordingFixture() {
        engine.setDrift(false);
        engine.setRange(2000);
        engine.setIlluminance(1230);
        window = std::make_unique<PanelWindow>(context, [this](const AppContext&) {
            return std::make_unique<DemoPort>(engine, clock);
        });
        EXPECT_TRUE(window->Form_Load());
        poll(3);
    }
    void poll(int ticks) {
        for (int i = 0; i < ticks; ++i)
            window->Timer1_Timer();
    }
    // The sampling timer's tick when the clock reaches the next sample's time.
    void sampleTick() {
        const double due = state.RecordClock + std::llround(state.SamplingTime);
        clock.advance(std::max(0.0, due - clock.monotonic()));
        window->Timer2_Timer();
    }
    QByteArray fileBytes(const QString& path) {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }
    QLabel* label(const char* name) { return window->findChild<QLabel*>(name); }
    QAction* saveButton() { return window->findChild<QAction*>("Save"); }

    MeterEngine engine = MeterEngine::demo(7);
    SharedState state;
    VirtualClock clock{QDateTime(QDate(2010, 12, 31), QTime(23, 59, 56))};
    ScriptedDialogs dialogs;
    ScriptedPrinter printer;
    AppContext context{state, clock, dialogs, printer};
    std::unique_ptr<PanelWindow> window;
    QTemporaryDir dir;
};

QWidget* visibleWindow(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible())
            return w;
    return nullptr;
}

} // namespace

TEST_F(RecordingFixture, RecordsHeaderAndOneLinePerSampleAcrossMidnight) {
    ASSERT_EQ(label("LblValue")->text(), "1230");
    const QString path = dir.filePath("rec.txt");
    dialogs.saveAnswers = {path};
    window->Toolbar1_ButtonClick("Save");
    ASSERT_TRUE(state.Recording);
    EXPECT_EQ(saveButton()->toolTip(), "Stop Recording (Ctrl+S)");
    EXPECT_EQ(label("LblFileName")->text(), "rec.txt");
    EXPECT_TRUE(window->timer1().isActive());

    engine.setFlag(MeterEngine::BatteryLow, true);
    sampleTick();
    poll(1); // the battery mark arrives with the next frame
    sampleTick();
    EXPECT_EQ(label("LblCount")->text(), "2");
    EXPECT_EQ(label("LblRec")->text(), "Rec");
    window->Toolbar1_ButtonClick("Save");
    EXPECT_FALSE(state.Recording);
    EXPECT_FALSE(state.FileSelected);
    EXPECT_EQ(saveButton()->toolTip(), "Save As (Ctrl+S)");
    EXPECT_EQ(fileBytes(path), "*ID=1234 Range:2000/LUX\r\n"
                               "1\t31/12/2010 23:59:58\t1230\t\r\n"
                               "2\t01/01/2011 00:00:00\t1230\tLow\r\n");
}

TEST_F(RecordingFixture, RangeChangeEndsTheFileWithoutThatSample) {
    const QString path = dir.filePath("rec.txt");
    dialogs.saveAnswers = {path};
    window->Toolbar1_ButtonClick("Save");
    state.SamplingTime = 1;
    sampleTick();
    engine.setRange(20000);
    poll(1);
    sampleTick();
    EXPECT_FALSE(state.Recording);
    EXPECT_EQ(saveButton()->toolTip(), "Save As (Ctrl+S)");
    EXPECT_EQ(fileBytes(path).count('\n'), 2);
    // The reason is shown once the tick has returned, so the box holds up no timer.
    EXPECT_TRUE(dialogs.messages().isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(dialogs.messages(),
              QStringList{"recording ended: the meter changed from 2000 LUX to 20000 LUX"});
}

TEST_F(RecordingFixture, FullDiskStopsRecordingWithAMessage) {
    dialogs.saveAnswers = {"/dev/full"};
    window->Toolbar1_ButtonClick("Save");
    // The header may sit in no buffer: it is written through, so the disk refuses it at once.
    if (state.Recording)
        sampleTick();
    QCoreApplication::processEvents();
    EXPECT_FALSE(state.Recording);
    EXPECT_EQ(dialogs.messages(),
              QStringList({"Cannot write the file, check the disk and try again!"}));
    EXPECT_EQ(saveButton()->toolTip(), "Save As (Ctrl+S)");
}

TEST_F(RecordingFixture, CancelledDialogAfterAnEarlierRecordingTouchesNothing) {
    const QString path = dir.filePath("first.txt");
    dialogs.saveAnswers = {path};
    window->Toolbar1_ButtonClick("Save");
    sampleTick();
    window->Toolbar1_ButtonClick("Save");
    const QByteArray before = fileBytes(path);
    window->Toolbar1_ButtonClick("Save"); // dialog cancelled
    sampleTick();
    EXPECT_FALSE(state.Recording);
    EXPECT_EQ(fileBytes(path), before);
}

TEST_F(RecordingFixture, SilentMeterAtTheStartOfARecordingIsReported) {
    engine.setSilent(true);
    dialogs.saveAnswers = {dir.filePath("rec.txt")};
    window->Toolbar1_ButtonClick("Save");
    EXPECT_FALSE(state.Recording);
    EXPECT_FALSE(state.FileSelected);
    EXPECT_EQ(dialogs.messages(),
              QStringList({"Meter not responding, check the connection and try again!"}));
    EXPECT_FALSE(QFile::exists(dir.filePath("rec.txt")));
    EXPECT_TRUE(window->timer1().isActive());
}

TEST_F(RecordingFixture, SamplingTimeEntry) {
    dialogs.inputAnswers = {QString("2.5")};
    window->Toolbar1_ButtonClick("PC");
    EXPECT_EQ(state.SamplingTime, 2.0f);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "Enter the SAMPLING TIME in seconds\r\n(1 <= t <= 86400 ) ");
    EXPECT_EQ(dialogs.shown[0].title, "Input Sampling Time");
    EXPECT_EQ(dialogs.shown[0].defaultText, "2");
}

TEST_F(RecordingFixture, LiveListCollectsSamplesAndStaysOpenWhenItEnds) {
    window->Toolbar1_ButtonClick("List");
    auto* list = qobject_cast<RecordListWindow*>(visibleWindow("RealTimeList"));
    ASSERT_TRUE(list);
    EXPECT_EQ(list->windowTitle(), "Real Time List---*ID=1234 Range:2000/LUX");
    EXPECT_TRUE(state.ListOn);
    state.SamplingTime = 1;
    sampleTick();
    poll(1);
    sampleTick();
    EXPECT_EQ(list->model().rowCount(), 3);

    const size_t writes = clock.waitCount;
    window->Toolbar1_ButtonClick("List"); // already open: no second settings exchange
    EXPECT_EQ(clock.waitCount, writes);

    engine.setRange(200);
    poll(1);
    sampleTick();
    EXPECT_FALSE(state.ListOn);
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(list->model().rowCount(), 4); // the row of the changed reading is kept
    auto* note = list->findChild<QLabel*>("LblNote");
    ASSERT_TRUE(note);
    EXPECT_EQ(note->text(), "list ended: the meter changed from 2000 LUX to 200 LUX");

    // "List" starts a new live list beside the ended one, which keeps its rows.
    window->Toolbar1_ButtonClick("List");
    EXPECT_TRUE(state.ListOn);
    auto* second =
        qobject_cast<RecordListWindow*>(window->windows().open(QStringLiteral("RealTimeList")));
    ASSERT_TRUE(second);
    ASSERT_NE(second, list);
    EXPECT_EQ(second->windowTitle(), "Real Time List---*ID=1234 Range:200/LUX");
    list->close(); // closing the ended list leaves the new one collecting
    poll(1);
    sampleTick();
    EXPECT_TRUE(state.ListOn);
    EXPECT_EQ(second->model().rowCount(), 2);
    EXPECT_TRUE(second->model().cell(1, 0) == "1");
    second->close();
    EXPECT_FALSE(state.ListOn);
}

TEST_F(RecordingFixture, PlotOnAListPreparesThePlotFromThatList) {
    window->Toolbar1_ButtonClick("Memory");
    auto* memory = qobject_cast<MemoryWindow*>(visibleWindow("Memory"));
    ASSERT_TRUE(memory);
    memory->GridSet_Click(memory->gridSet()->model()->index(1, 0));
    auto* list = qobject_cast<RecordListWindow*>(visibleWindow("DataList"));
    ASSERT_TRUE(list);
    list->Toolbar1_ButtonClick("Plot");
    EXPECT_EQ(state.PlotRecords, list->model().dataRowCount());
    EXPECT_GT(state.PlotRecords, 0);
    EXPECT_EQ(state.PlotUnit, list->caption().section(u'/', -1));
    EXPECT_FALSE(state.PlotFromFileList);
}

TEST_F(RecordingFixture, ClosingThePanelClosesEverySecondaryWindow) {
    window->Toolbar1_ButtonClick("List");
    window->Toolbar1_ButtonClick("Memory");
    ASSERT_TRUE(visibleWindow("RealTimeList") && visibleWindow("Memory"));
    window->close();
    EXPECT_FALSE(visibleWindow("RealTimeList"));
    EXPECT_FALSE(visibleWindow("Memory"));
    EXPECT_FALSE(state.ListOn);
    EXPECT_FALSE(state.MemoryOn);
}

TEST_F(RecordingFixture, OpenIsRefusedWhileRecording) {
    dialogs.saveAnswers = {dir.filePath("rec.txt")};
    window->Toolbar1_ButtonClick("Save");
    ASSERT_TRUE(state.Recording);
    window->Toolbar1_ButtonClick("Open");
    ASSERT_EQ(dialogs.messages(), QStringList({"Recording Mode!\n\rPlease stop recording!"}));
    EXPECT_EQ(dialogs.shown.back().icon, Dialogs::Icon::Critical);
}

// Closing the main window in the middle of a set download ends the download at its next wait
// and releases the port; nothing is destroyed under the suspended handler.
TEST_F(RecordingFixture, ClosingThePanelDuringADownloadEndsItCleanly) {
    QObject::connect(window.get(), &PanelWindow::programEnded, [this] { clock.requestStop(); });
    window->Toolbar1_ButtonClick("Memory");
    auto* memory = qobject_cast<MemoryWindow*>(visibleWindow("Memory"));
    ASSERT_TRUE(memory);
    const int rows = memory->gridSet()->model()->rowCount();
    ASSERT_EQ(rows, 4);
    engine.setPaced(true); // the 3000-sample set now takes seconds to arrive
    int waits = 0;
    clock.duringWait = [&] {
        if (++waits == 3)
            window->close();
    };
    memory->GridSet_Click(memory->gridSet()->model()->index(rows - 1, 0));
    EXPECT_TRUE(clock.stopping());
    EXPECT_TRUE(state.SetCache[3].isEmpty()); // a broken-off dump is not kept
    EXPECT_FALSE(window->timer1().isActive());
    clock.duringWait = nullptr;
}
