#include "panel/PcRecorder.h"

#include "common/AppContext.h"
#include "common/SharedState.h"
#include "panel/MeterId.h"
#include "records/FileTransfer.h"
#include "sim/engine/DemoPort.h"
#include "sim/engine/MeterEngine.h"
#include "support/FileBytes.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedPrinter.h"
#include "support/VirtualClock.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#ifdef Q_OS_UNIX
#include <csignal>
#include <cstdlib>
#include <sys/resource.h>
#endif

namespace {

struct FakeView : RecordingView {
    void showRecording(const QString& fileName) override { shown << "recording " + fileName; }
    void showNotRecording() override { shown << "not recording"; }
    void showRecordCount(const QString& count) override { shown << "count " + count; }
    void clearRecordingLabels() override { shown << "clear"; }
    void showRecordingEnded(const QString& reason, bool failed) override {
        shown << (failed ? "failed: " : "ended: ") + reason;
    }
    QStringList shown;
};

// PC recording on the simulated meter, on virtual time.
class PcRecorderTest : public ::testing::Test {
protected:
    PcRecorderTest() {
        engine.setDrift(false);
        engine.setIdCode(12);
        port.open(nullptr);
        context.port = &port;
        context.poll.addSwitch(this, [this](bool on) { poll << (on ? "on" : "off"); });
        state.loadPanel(QDateTime(QDate(2010, 12, 31), QTime(23, 59, 58)));
        state.SamplingTime = 1;
        state.Unit = QStringLiteral("LUX");
        state.Range = 2000;
    }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    void sample(const char* value) {
        state.Value = Value::fromText(QString::fromLatin1(value));
        state.NewReading = true;
        // The clock reaches the next sample's time.
        samplingTick(state, recorder, state.RecordClock + state.SamplingTime);
    }

    QTemporaryDir dir;
    MeterEngine engine;
    VirtualClock clock;
    DemoPort port{engine, clock};
    SharedState state;
    ScriptedDialogs dialogs;
    ScriptedPrinter printer;
    AppContext context{state, clock, dialogs, printer};
    QStringList poll;
    FakeView view;
    PcRecorder recorder{context, view};
};

TEST_F(PcRecorderTest, RecordsUntilTheRangeChangesThenClosesTheFile) {
    dialogs.saveAnswers = {path("rec.txt")};
    recorder.saveCommand();
    ASSERT_TRUE(state.Recording);
    EXPECT_EQ(view.shown, QStringList{"recording rec.txt"});
    EXPECT_EQ(poll, QStringList({"off", "on"}));
    sample("1230");
    state.BatLow = true;
    sample("1231");
    state.Range = 20000;
    sample("12");
    sample("13");
    EXPECT_EQ(readAll(path("rec.txt")), "*ID=12 Range:2000/LUX\r\n"
                                        "1\t31/12/2010 23:59:59\t1230\t\r\n"
                                        "2\t01/01/2011 00:00:00\t1231\tLow\r\n");
    EXPECT_FALSE(state.Recording);
    EXPECT_FALSE(state.FileSelected);
    EXPECT_TRUE(dialogs.messages().isEmpty());
    EXPECT_TRUE(
        view.shown.contains("ended: recording ended: the meter changed from 2000 LUX to 20000 LUX"))
        << qPrintable(view.shown.join(" | "));
    EXPECT_FALSE(recorder.writeRecordLine(QStringLiteral("late"))); // the file is closed
}

TEST_F(PcRecorderTest, FileThatCannotBeCreatedIsReportedAndNothingRecords) {
    for (const QString& target : {QStringLiteral("/dev/full"), path("none/rec.txt")}) {
        dialogs.shown.clear();
        dialogs.saveAnswers = {target};
        recorder.saveCommand();
        EXPECT_FALSE(state.Recording) << qPrintable(target);
        EXPECT_FALSE(state.FileSelected);
        ASSERT_EQ(dialogs.messages(),
                  QStringList{"Cannot write the file, check the disk and try again!"});
        EXPECT_EQ(dialogs.shown.back().icon, Dialogs::Icon::Critical);
    }
}

// A list saved, or Save clicked again, while the meter's ID is being read: the recording still
// goes into the file its own dialog chose, and the second click does nothing.
TEST_F(PcRecorderTest, ClicksDuringTheIdExchangeLeaveTheChosenFileAlone) {
    dialogs.saveAnswers = {path("rec.txt"), path("list.txt")};
    bool once = false;
    clock.duringWait = [&] {
        if (once)
            return;
        once = true;
        recorder.saveCommand();         // a second Save: nothing
        ChooseSaveFile(state, dialogs); // a list's Save takes the file name slot
        QFile other(state.FileName);
        ASSERT_TRUE(other.open(QIODevice::WriteOnly));
        other.write("list\r\n");
    };
    recorder.saveCommand();
    clock.duringWait = nullptr;
    ASSERT_TRUE(state.Recording);
    EXPECT_EQ(state.FileName, path("rec.txt"));
    sample("5");
    recorder.saveCommand();
    EXPECT_FALSE(recorder.writeRecordLine(QStringLiteral("late"))); // stopped: the file is closed
    EXPECT_EQ(readAll(path("list.txt")), "list\r\n");
    EXPECT_EQ(readAll(path("rec.txt")), "*ID=12 Range:2000/LUX\r\n1\t31/12/2010 23:59:59\t5\t\r\n");
    EXPECT_EQ(dialogs.shown.size(), 2u); // the recording's dialog and the list's
}

// A second exchange started inside the first one's wait (List during Save's settings read) must
// not hand the line back to the poll while the first still runs.
TEST_F(PcRecorderTest, NestedExchangesResumeThePollOnlyAtTheOutermostEnd) {
    dialogs.saveAnswers = {path("rec.txt")};
    QStringList pollDuringInner;
    bool once = false;
    clock.duringWait = [&] {
        if (once)
            return;
        once = true;
        EXPECT_TRUE(readMeterId(context).has_value());
        pollDuringInner = poll;
    };
    recorder.saveCommand();
    EXPECT_EQ(pollDuringInner, QStringList{"off"});
    EXPECT_EQ(poll, QStringList({"off", "on"}));
    EXPECT_TRUE(state.Recording);
    EXPECT_FALSE(context.poll.paused());
}

#ifdef Q_OS_UNIX
// Fills a disk limited to 100 bytes, then ends the recording for another reason (a change of
// range in the same tick); exits with 0 when the end says the file could not be written.
[[noreturn]] void recordUntilTheDiskIsFull(PcRecorder& recorder, const FakeView& view) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{100, 100};
    setrlimit(RLIMIT_FSIZE, &limit);
    bool written = true;
    for (int line = 1; written && line < 100; ++line)
        written = recorder.writeRecordLine(QString::number(line) +
                                           QStringLiteral("\t01/01/2011 00:00:00\t1230\t"));
    recorder.recordingStopped(SampleSinks::StopReason::LimitOrChange);
    const bool said = !view.shown.isEmpty() && view.shown.last().startsWith(u"failed: ");
    std::_Exit(!written && said ? 0 : 1);
}

TEST_F(PcRecorderTest, FullDiskIsSaidWhateverEndsTheRecording) {
    dialogs.saveAnswers = {path("rec.txt")};
    recorder.saveCommand();
    ASSERT_TRUE(state.Recording);
    EXPECT_EXIT(recordUntilTheDiskIsFull(recorder, view), ::testing::ExitedWithCode(0), "");
}
#endif

} // namespace
