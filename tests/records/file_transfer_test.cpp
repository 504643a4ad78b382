#include "records/FileTransfer.h"

#include "panel/AppContext.h"
#include "panel/SharedState.h"
#include "records/RecordFile.h"
#include "records/RecordTableModel.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedPrinter.h"
#include "support/VirtualClock.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class FakeWindow : public CaptionedWindow {
public:
    explicit FakeWindow(QString caption)
        : m_caption(std::move(caption)) {}
    QString caption() const override { return m_caption; }
    void setCaption(const QString& caption) override {
        m_caption = caption;
        history << caption;
    }
    bool closing() const override { return closeRequested; }

    QStringList history;
    bool closeRequested = false;

private:
    QString m_caption;
};

AppContext contextOf(SharedState& state, Clock& clock, Dialogs& dialogs, Printer& printer) {
    return AppContext{state, clock, dialogs, printer, nullptr, {}, {}, {}};
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QStringList rowCells(const RecordTableModel& model, int row) {
    QStringList cells;
    for (int c = 0; c < RecordTableModel::kColumns; ++c)
        cells << model.cell(row, c);
    return cells;
}

const QString kRow1 = QStringLiteral("1\t22/06/2010 14:05:09\t1230\t");
const QString kRow2 = QStringLiteral("2\t22/06/2010 14:05:11\tOL\tLow");

class FileTransferTest : public ::testing::Test {
protected:
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    // One "Save" of a list whose dialog answers `answer`.
    void saveWithAnswer(std::optional<QString> answer) {
        dialogs.saveAnswers.push_back(std::move(answer));
        saveList(state, dialogs, window, model, busy);
    }

    QTemporaryDir dir;
    SharedState state;
    VirtualClock clock;
    ScriptedDialogs dialogs;
    ScriptedPrinter printer;
    AppContext app = contextOf(state, clock, dialogs, printer);
    RecordTableModel model;
    FakeWindow window{QStringLiteral("Real Time List---*ID=12 Range:2000/LUX")};
    int busyDepth = 0;
    BusyPointer busy = [this](bool on) { busyDepth += on ? 1 : -1; };
};

struct RoundTripCase {
    const char* name;
    QStringList rows;
    QByteArray file;
};

class SaveAndReadBack : public FileTransferTest,
                        public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(SaveAndReadBack, GivesTheSameRows) {
    const RoundTripCase& c = GetParam();
    model.appendRows(c.rows);
    saveWithAnswer(path("list.txt"));

    EXPECT_EQ(readAll(path("list.txt")), c.file);
    EXPECT_EQ(window.caption(), QStringLiteral("Real Time List---*ID=12 Range:2000/LUX"));
    EXPECT_FALSE(state.FileSelected);
    EXPECT_EQ(busyDepth, 0);
    EXPECT_TRUE(dialogs.messages().isEmpty());

    RecordReader reader;
    ASSERT_TRUE(reader.open(path("list.txt")));
    RecordTableModel loaded;
    FakeWindow fileList(QStringLiteral("Real Time List --- 2000LUX"));
    EXPECT_TRUE(readRecordFile(reader, QStringLiteral("list.txt"), fileList, loaded, &clock));
    EXPECT_EQ(fileList.caption(), QStringLiteral("list.txt---*ID=12 Range:2000/LUX"));
    ASSERT_EQ(loaded.rowCount(), model.rowCount());
    for (int r = 0; r < model.rowCount(); ++r)
        EXPECT_EQ(rowCells(loaded, r), rowCells(model, r)) << r;
}

INSTANTIATE_TEST_SUITE_P(
    Lists, SaveAndReadBack,
    ::testing::Values(RoundTripCase{"NoDataRows", {}, "*ID=12 Range:2000/LUX\r\n"},
                      RoundTripCase{"TabAfterEveryCell",
                                    {kRow1, kRow2},
                                    "*ID=12 Range:2000/LUX\r\n"
                                    "1\t22/06/2010 14:05:09\t1230\t\t\r\n"
                                    "2\t22/06/2010 14:05:11\tOL\tLow\t\r\n"},
                      RoundTripCase{"EmptyCells",
                                    {QString(), QStringLiteral("\t\t5")},
                                    "*ID=12 Range:2000/LUX\r\n\t\t\t\t\r\n\t\t5\t\t\r\n"}),
    [](const ::testing::TestParamInfo<RoundTripCase>& info) { return info.param.name; });

TEST_F(FileTransferTest, SaveCountsRowsInTheCaptionThenRestoresIt) {
    model.appendRows({kRow1, kRow2});
    state.FileName = path("x.txt");
    ASSERT_TRUE(SaveGridToFile(state, dialogs, window, model, busy));
    EXPECT_EQ(window.history, QStringList({"1Records Completed", "2Records Completed",
                                           "Real Time List---*ID=12 Range:2000/LUX"}));
}

TEST_F(FileTransferTest, CancelledDialogAfterAnEarlierSaveWritesNothing) {
    model.appendRow(kRow1);
    saveWithAnswer(path("first.txt"));
    const QByteArray first = readAll(path("first.txt"));

    model.appendRow(kRow2);
    saveWithAnswer(std::nullopt);
    EXPECT_EQ(readAll(path("first.txt")), first);

    // Even a FileSelected left over from elsewhere cannot carry a cancelled dialog to a file.
    state.FileSelected = true;
    saveWithAnswer(std::nullopt);
    EXPECT_EQ(readAll(path("first.txt")), first);
    EXPECT_FALSE(state.FileSelected);
    EXPECT_EQ(state.FileName, path("first.txt"));
    EXPECT_EQ(dialogs.shown.size(), 3u);
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(FileTransferTest, SaveDialogAsksForAnyFile) {
    dialogs.saveAnswers.push_back(path("a.txt"));
    EXPECT_TRUE(ChooseSaveFile(state, dialogs));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, QStringLiteral("save"));
    EXPECT_EQ(dialogs.shown[0].text, kAllFilesFilter);
    EXPECT_EQ(state.FileName, path("a.txt"));

    // A path without a file name is no choice.
    dialogs.saveAnswers.push_back(dir.path() + u'/');
    EXPECT_FALSE(ChooseSaveFile(state, dialogs));
    EXPECT_FALSE(state.FileSelected);
}

TEST_F(FileTransferTest, WriteFailuresAreReportedAndLeaveNothingSelected) {
    const QString targets[] = {QStringLiteral("/dev/full"), dir.path(),
                               path("missing/folder/x.txt")};
    model.appendRows({kRow1, kRow2});
    for (const QString& target : targets) {
        dialogs.shown.clear();
        saveWithAnswer(target);
        EXPECT_EQ(dialogs.messages(), QStringList{kCannotWriteFile}) << target.toStdString();
        EXPECT_EQ(dialogs.shown.back().icon, Dialogs::Icon::Critical);
        EXPECT_FALSE(state.FileSelected);
        EXPECT_EQ(window.caption(), QStringLiteral("Real Time List---*ID=12 Range:2000/LUX"));
        EXPECT_EQ(busyDepth, 0);
    }
}

TEST_F(FileTransferTest, SaveIsRefusedWhileRecording) {
    state.Recording = true;
    saveWithAnswer(path("x.txt"));
    EXPECT_EQ(dialogs.messages(), QStringList{kAlreadyRecording});
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].icon, Dialogs::Icon::Critical);
    EXPECT_FALSE(QFile::exists(path("x.txt")));
}

TEST(PrintedRow, ColumnsOfSevenEighteenAndSeven) {
    struct Case {
        const char* number;
        const char* time;
        const char* value;
        const char* line;
    };
    const Case cases[] = {
        {"1", "22/06/2010 14:05:09", "1230", "1      22/06/2010 14:05:09 1230   "},
        {"86400", "22/06/2010 14:05:09", "OL", "86400  22/06/2010 14:05:09 OL     "},
        {"1234567", "t", "12345678", "1234567 t                 12345678"},
        {"", "", "", "                                "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(printedRow(QString::fromLatin1(c.number), QString::fromLatin1(c.time),
                             QString::fromLatin1(c.value)),
                  QString::fromLatin1(c.line));
}

TEST_F(FileTransferTest, PrintoutIsCaptionDashesAndOneLinePerRow) {
    QStringList poll;
    app.setPollEnabled = [&](bool on) { poll << (on ? "on" : "off"); };
    model.appendRows({kRow1, kRow2});

    ASSERT_TRUE(PrintGrid(app, window, model, busy));
    ASSERT_EQ(printer.jobs.size(), 1u);
    const ScriptedPrinter::Job& job = printer.jobs[0];
    EXPECT_TRUE(job.ended);
    EXPECT_EQ(
        job.lines,
        QStringList({"Real Time List---*ID=12 Range:2000/LUX", "------------------------------",
                     "1      22/06/2010 14:05:09 1230   ", "2      22/06/2010 14:05:11 OL     "}));
    EXPECT_EQ(window.history, QStringList({"1 record(s) completed", "2 record(s) completed",
                                           "Real Time List---*ID=12 Range:2000/LUX"}));
    EXPECT_EQ(poll, QStringList({"off", "on"}));
    EXPECT_EQ(busyDepth, 0);
    EXPECT_EQ(printer.strayLines, 0);
}

TEST_F(FileTransferTest, RowsAddedWhilePrintingArePrinted) {
    model.appendRow(kRow1);
    clock.duringWait = [&] {
        if (model.rowCount() < 4)
            model.appendRow(QStringLiteral("%1\tt\tv\t").arg(model.rowCount()));
    };
    ASSERT_TRUE(PrintGrid(app, window, model, busy));
    ASSERT_EQ(printer.jobs.size(), 1u);
    EXPECT_EQ(printer.jobs[0].lines.size(), 2 + 3);
    EXPECT_TRUE(printer.jobs[0].lines.last().startsWith(QStringLiteral("3      t")));
}

TEST_F(FileTransferTest, PrintingThatCannotFinishRestoresEverything) {
    enum class Fault { RefusedJob, WindowClosing, ProgramClosing, FailedEnd };
    for (Fault fault :
         {Fault::RefusedJob, Fault::WindowClosing, Fault::ProgramClosing, Fault::FailedEnd}) {
        SharedState freshState;
        VirtualClock freshClock;
        ScriptedPrinter freshPrinter;
        AppContext context = contextOf(freshState, freshClock, dialogs, freshPrinter);
        bool pollOn = true;
        context.setPollEnabled = [&](bool on) { pollOn = on; };
        FakeWindow list(QStringLiteral("Data List---*ID=3 Range:20/Fc"));
        freshPrinter.refuseBegin = fault == Fault::RefusedJob;
        freshPrinter.failEnd = fault == Fault::FailedEnd;
        list.closeRequested = fault == Fault::WindowClosing;
        if (fault == Fault::ProgramClosing)
            freshClock.requestStop();
        model.clearRows();
        model.appendRows({kRow1, kRow2});

        EXPECT_FALSE(PrintGrid(context, list, model, busy));
        EXPECT_TRUE(pollOn);
        EXPECT_EQ(list.caption(), QStringLiteral("Data List---*ID=3 Range:20/Fc"));
        EXPECT_EQ(busyDepth, 0);
        EXPECT_FALSE(freshPrinter.jobOpen());
        EXPECT_EQ(freshPrinter.jobs.size(), fault == Fault::RefusedJob ? 0u : 1u);
        if (fault == Fault::WindowClosing || fault == Fault::ProgramClosing) {
            EXPECT_TRUE(freshPrinter.jobs[0].aborted);
            EXPECT_EQ(freshPrinter.jobs[0].lines.size(), 2);
        }
    }
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(FileTransferTest, ReadingCountsRowsAndEndsWithTheHeaderCaption) {
    QByteArray bytes = "*ID=7 Range:200/Fc\r\n";
    for (int i = 1; i <= 2500; ++i)
        bytes += QByteArray::number(i) + "\t01/02/2011 03:04:05\t1.5\t\r\n";
    writeBytes(path("big.txt"), bytes);
    int eventPasses = 0;
    clock.duringWait = [&] { ++eventPasses; };

    RecordReader reader;
    ASSERT_TRUE(reader.open(path("big.txt")));
    ASSERT_TRUE(readRecordFile(reader, QStringLiteral("big.txt"), window, model, &clock));
    EXPECT_EQ(model.dataRowCount(), 2500);
    EXPECT_EQ(model.cell(2500, 0), QStringLiteral("2500"));
    EXPECT_EQ(window.history.first(), QStringLiteral("big.txt---*ID=7 Range:200/Fc"));
    EXPECT_EQ(window.history[window.history.size() - 2], QStringLiteral("2500 Records Completed"));
    EXPECT_EQ(window.caption(), QStringLiteral("big.txt---*ID=7 Range:200/Fc"));
    EXPECT_GT(eventPasses, 0);
}

TEST_F(FileTransferTest, ReadingHeaderOnlyAndEmptyFiles) {
    struct Case {
        QByteArray bytes;
        const char* caption;
    };
    const Case cases[] = {
        {"*ID=12 Range:2000/LUX\r\n", "h.txt---*ID=12 Range:2000/LUX"},
        {"*ID=12 Range:2000/LUX", "h.txt---*ID=12 Range:2000/LUX"},
        {"", ""},
    };
    for (const Case& c : cases) {
        writeBytes(path("h.txt"), c.bytes);
        RecordReader reader;
        ASSERT_TRUE(reader.open(path("h.txt")));
        RecordTableModel grid;
        FakeWindow fileList(QStringLiteral("Real Time List --- 2000LUX"));
        EXPECT_TRUE(readRecordFile(reader, QStringLiteral("h.txt"), fileList, grid));
        EXPECT_EQ(grid.rowCount(), 1);
        EXPECT_EQ(fileList.caption(), QString::fromLatin1(c.caption));
    }
}

TEST_F(FileTransferTest, ReadingStopsWhenTheListIsClosed) {
    QByteArray bytes = "h\r\n";
    for (int i = 0; i < 5000; ++i)
        bytes += "1\tt\tv\t\r\n";
    writeBytes(path("long.txt"), bytes);
    clock.duringWait = [&] { window.closeRequested = true; };
    RecordReader reader;
    ASSERT_TRUE(reader.open(path("long.txt")));
    readRecordFile(reader, QStringLiteral("long.txt"), window, model, &clock);
    EXPECT_GT(model.dataRowCount(), 0);
    EXPECT_LT(model.dataRowCount(), 5000);
}

TEST_F(FileTransferTest, OpenIsRefusedWhileRecordingAndNeedsAPath) {
    state.Recording = true;
    dialogs.openAnswers = {path("a.txt")};
    EXPECT_EQ(chooseFileToOpen(state, dialogs), std::nullopt);
    EXPECT_EQ(dialogs.messages(), QStringList{"Recording Mode!\n\rPlease stop recording!"});
    EXPECT_EQ(dialogs.shown.size(), 1u);

    state.Recording = false;
    dialogs.openAnswers = {std::nullopt, QString(), path("a.txt")};
    EXPECT_EQ(chooseFileToOpen(state, dialogs), std::nullopt);
    EXPECT_EQ(chooseFileToOpen(state, dialogs), std::nullopt);
    EXPECT_EQ(chooseFileToOpen(state, dialogs), path("a.txt"));
}

TEST(PreparePlot, RangeAndUnitFromTheCaption) {
    struct Case {
        const char* caption;
        double max;
        const char* unit;
    };
    const Case cases[] = {
        {"Data List---*ID=12 Range:2000/LUX", 2000, "LUX"},
        {"Data List---*ID=12 Range:20/Fc", 20, "Fc"},
        {"rec.txt---*ID=1 Range:20000/LUX", 20000, "LUX"},
        {"rec.txt---*ID=1 Range:200/Fc", 200, "Fc"},
        // No header in the file: whatever the rules give.
        {"notes.txt---hello", 0, "notes.txt---hello"},
        {"a/b", 0, "b"},
        {"", 0, ""},
    };
    RecordTableModel grid;
    for (const Case& c : cases) {
        SharedState state;
        preparePlot(QString::fromLatin1(c.caption), grid, true, state);
        EXPECT_EQ(state.PlotMax, c.max) << c.caption;
        EXPECT_EQ(state.PlotTop, c.max);
        EXPECT_EQ(state.PlotUnit, QString::fromLatin1(c.unit)) << c.caption;
    }
}

TEST(PreparePlot, RecordSpanFromTheRows) {
    RecordTableModel grid;
    SharedState state;
    state.PlotMin = 5;
    state.PlotFromFileList = true;
    preparePlot(QStringLiteral("Data List---*ID=1 Range:20/Fc"), grid, false, state);
    EXPECT_FALSE(state.PlotFromFileList);
    EXPECT_EQ(state.PlotMin, 0);
    EXPECT_EQ(state.PlotBottom, 0);
    EXPECT_EQ(state.PlotRecords, 0);
    EXPECT_EQ(state.PlotFirst, 1);
    EXPECT_EQ(state.PlotCount, 0);
    EXPECT_EQ(state.PlotLast, 0);

    grid.appendRows({kRow1, kRow2, kRow1});
    preparePlot(QStringLiteral("x.txt---*ID=1 Range:20/Fc"), grid, true, state);
    EXPECT_TRUE(state.PlotFromFileList);
    EXPECT_EQ(state.PlotRecords, 3);
    EXPECT_EQ(state.PlotCount, 3);
    EXPECT_EQ(state.PlotLast, 3);
}

} // namespace
