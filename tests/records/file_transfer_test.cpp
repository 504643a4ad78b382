#include "records/FileTransfer.h"

#include "common/AppContext.h"
#include "common/SharedState.h"
#include "records/RecordFile.h"
#include "records/RecordTableModel.h"
#include "support/FileBytes.h"
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
    return AppContext{state, clock, dialogs, printer};
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QStringList cellsOf(const RecordTableModel& model, int row) {
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
    QStringList progress; // the captions while it saves
};

class SaveAndReadBack : public FileTransferTest,
                        public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(SaveAndReadBack, GivesTheSameRows) {
    const RoundTripCase& c = GetParam();
    model.appendRows(c.rows);
    saveWithAnswer(path("list.txt"));

    EXPECT_EQ(readAll(path("list.txt")), c.file);
    // The progress shows at the first row and the last (a few dozen times a second between),
    // then the caption comes back.
    EXPECT_EQ(window.history, c.progress);
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
        EXPECT_EQ(cellsOf(loaded, r), cellsOf(model, r)) << r;
}

INSTANTIATE_TEST_SUITE_P(
    Lists, SaveAndReadBack,
    ::testing::Values(RoundTripCase{"NoDataRows",
                                    {},
                                    "*ID=12 Range:2000/LUX\r\n",
                                    {"Real Time List---*ID=12 Range:2000/LUX"}},
                      RoundTripCase{"TabAfterEveryCell",
                                    {kRow1, kRow2},
                                    "*ID=12 Range:2000/LUX\r\n"
                                    "1\t22/06/2010 14:05:09\t1230\t\t\r\n"
                                    "2\t22/06/2010 14:05:11\tOL\tLow\t\r\n",
                                    {"1Records Completed", "2Records Completed",
                                     "Real Time List---*ID=12 Range:2000/LUX"}},
                      RoundTripCase{"EmptyCells",
                                    {QString(), QStringLiteral("\t\t5")},
                                    "*ID=12 Range:2000/LUX\r\n\t\t\t\t\r\n\t\t5\t\t\r\n",
                                    {"1Records Completed", "2Records Completed",
                                     "Real Time List---*ID=12 Range:2000/LUX"}}),
    [](const ::testing::TestParamInfo<RoundTripCase>& info) { return info.param.name; });

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
    // A folder is no file to write: nothing is tried, so nothing fails.
    saveWithAnswer(dir.path() + u'/');
    EXPECT_FALSE(state.FileSelected);
    EXPECT_EQ(dialogs.shown.size(), 4u);
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(FileTransferTest, WriteFailuresAreReportedAndLeaveNothingSelected) {
    const QString targets[] = {QStringLiteral("/dev/full"), dir.path(),
                               path("missing/folder/x.txt")};
    model.appendRows({kRow1, kRow2});
    for (const QString& target : targets) {
        dialogs.shown.clear();
        saveWithAnswer(target);
        ASSERT_EQ(dialogs.messages(),
                  QStringList{"Cannot write the file, check the disk and try again!"})
            << target.toStdString();
        EXPECT_EQ(dialogs.shown.back().icon, Dialogs::Icon::Critical);
        EXPECT_FALSE(state.FileSelected);
        EXPECT_EQ(window.caption(), QStringLiteral("Real Time List---*ID=12 Range:2000/LUX"));
        EXPECT_EQ(busyDepth, 0);
    }
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

TEST_F(FileTransferTest, PrintoutHasCaptionDashesAndEveryRowEvenOnesAddedMeanwhile) {
    QStringList poll;
    app.poll.addSwitch(this, [&](bool on) { poll << (on ? "on" : "off"); });
    model.appendRow(kRow1);
    // The live list grows while it prints.
    clock.duringWait = [&] {
        if (model.rowCount() == 2)
            model.appendRow(kRow2);
    };
    ASSERT_TRUE(PrintGrid(app, window, model, busy));
    ASSERT_EQ(printer.jobs.size(), 1u);
    EXPECT_TRUE(printer.jobs[0].ended);
    EXPECT_EQ(
        printer.jobs[0].lines,
        QStringList({"Real Time List---*ID=12 Range:2000/LUX", "------------------------------",
                     "1      22/06/2010 14:05:09 1230   ", "2      22/06/2010 14:05:11 OL     "}));
    EXPECT_EQ(window.history, QStringList({"1 record(s) completed", "2 record(s) completed",
                                           "Real Time List---*ID=12 Range:2000/LUX"}));
    EXPECT_EQ(poll, QStringList({"off", "on"}));
    EXPECT_EQ(busyDepth, 0);
    EXPECT_EQ(printer.strayLines, 0);
}

TEST_F(FileTransferTest, PrintingThatCannotFinishRestoresEverything) {
    model.appendRows({kRow1, kRow2});
    enum class Fault { RefusedJob, WindowClosing, ProgramClosing, FailedEnd };
    for (Fault fault :
         {Fault::RefusedJob, Fault::WindowClosing, Fault::ProgramClosing, Fault::FailedEnd}) {
        SharedState freshState;
        VirtualClock freshClock;
        ScriptedPrinter freshPrinter;
        AppContext context = contextOf(freshState, freshClock, dialogs, freshPrinter);
        bool pollOn = true;
        context.poll.addSwitch(this, [&](bool on) { pollOn = on; });
        FakeWindow list(QStringLiteral("Data List---*ID=3 Range:20/Fc"));
        freshPrinter.refuseBegin = fault == Fault::RefusedJob;
        freshPrinter.failEnd = fault == Fault::FailedEnd;
        list.closeRequested = fault == Fault::WindowClosing;
        if (fault == Fault::ProgramClosing)
            freshClock.requestStop();

        EXPECT_FALSE(PrintGrid(context, list, model, busy));
        EXPECT_TRUE(pollOn);
        EXPECT_EQ(list.caption(), QStringLiteral("Data List---*ID=3 Range:20/Fc"));
        EXPECT_EQ(busyDepth, 0);
        EXPECT_FALSE(freshPrinter.jobOpen());
        ASSERT_EQ(freshPrinter.jobs.size(), fault == Fault::RefusedJob ? 0u : 1u);
        if (fault == Fault::WindowClosing || fault == Fault::ProgramClosing) {
            EXPECT_TRUE(freshPrinter.jobs[0].aborted);
            EXPECT_EQ(freshPrinter.jobs[0].lines.size(), 2);
        }
    }
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(FileTransferTest, ReadingCountsRowsInTheCaptionAndStopsWhenTheListCloses) {
    QByteArray bytes = "*ID=7 Range:200/Fc\r\n";
    for (int i = 1; i <= 2500; ++i)
        bytes += QByteArray::number(i) + "\t01/02/2011 03:04:05\t1.5\t\r\n";
    writeBytes(path("big.txt"), bytes);
    int eventPasses = 0;
    clock.duringWait = [&] { ++eventPasses; };
    for (bool closeMeanwhile : {false, true}) {
        RecordTableModel grid;
        window.closeRequested = false;
        if (closeMeanwhile)
            clock.duringWait = [&] { window.closeRequested = true; };
        RecordReader reader;
        ASSERT_TRUE(reader.open(path("big.txt")));
        window.history.clear();
        EXPECT_TRUE(readRecordFile(reader, QStringLiteral("big.txt"), window, grid, &clock));
        EXPECT_EQ(window.caption(), QStringLiteral("big.txt---*ID=7 Range:200/Fc"));
        if (closeMeanwhile) {
            EXPECT_GT(grid.dataRowCount(), 0);
            EXPECT_LT(grid.dataRowCount(), 2500);
        } else {
            EXPECT_EQ(grid.cell(2500, 0), QStringLiteral("2500"));
            ASSERT_GE(window.history.size(), 2);
            EXPECT_EQ(window.history[window.history.size() - 2],
                      QStringLiteral("2500 Records Completed"));
            EXPECT_GT(eventPasses, 0);
        }
    }
}

TEST_F(FileTransferTest, ReadingAHeaderWithoutLineEndOrAnEmptyFile) {
    const std::pair<QByteArray, QString> cases[] = {
        {"*ID=12 Range:2000/LUX", QStringLiteral("h.txt---*ID=12 Range:2000/LUX")},
        {"", QString()},
    };
    for (const auto& [bytes, caption] : cases) {
        writeBytes(path("h.txt"), bytes);
        RecordReader reader;
        ASSERT_TRUE(reader.open(path("h.txt")));
        FakeWindow fileList(QStringLiteral("Real Time List --- 2000LUX"));
        EXPECT_TRUE(readRecordFile(reader, QStringLiteral("h.txt"), fileList, model));
        EXPECT_EQ(model.rowCount(), 1);
        EXPECT_EQ(fileList.caption(), caption);
    }
}

} // namespace
