#include "records/ui/DataList.h"
#include "records/ui/FileList.h"
#include "records/ui/OpenRecords.h"
#include "records/ui/RealTimeList.h"
#include "records/ui/RecordGrid.h"

#include "common/AppContext.h"
#include "common/SharedState.h"
#include "common/ui/WindowOwner.h"
#include "records/FileTransfer.h"
#include "records/RecordExport.h"
#include "support/FileBytes.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedPrinter.h"
#include "support/TestContext.h"
#include "support/VirtualClock.h"
#include "support/WindowLookup.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPointer>
#include <QTemporaryDir>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

const QString kRow = QStringLiteral("1\t22/06/2010 14:05:09\t1230\t");

class ListWindowTest : public ::testing::Test, public TestContext {
protected:
    ListWindowTest() {
        state.ListID = Value::fromNumber(12);
        state.Range = 2000;
        state.Unit = QStringLiteral("LUX");
        context.panelFrame = [] { return QRect(10, 20, 350, 300); };
        context.poll.addSwitch(this, [this](bool on) { poll << (on ? "on" : "off"); });
    }
    ~ListWindowTest() override {
        owner.closeAll();
        for (QPointer<QWidget>& window : windows)
            delete window.data();
        settleDeletes();
    }
    template <typename List> List* make() {
        auto* list = new List(context);
        windows.push_back(list);
        list->show();
        return list;
    }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
    WindowOwner owner;
    QStringList poll;
    std::vector<QPointer<QWidget>> windows;
};

TEST_F(ListWindowTest, ControlsPositionsAndCaptions) {
    const struct {
        RecordListWindow* list;
        const char* name;
        QPoint position;
        int height;
        QStringList buttons; // key=tooltip
        const char* caption;
    } cases[] = {
        {make<RealTimeList>(),
         "RealTimeList",
         {360, 20},
         274,
         {"Save=Save As", "Print=Print (Ctrl+P)", "Export=Export"},
         "List---*ID=12 Range:2000/LUX"},
        {make<DataList>(),
         "DataList",
         {0, 0},
         271,
         {"Save=Save As", "Plot=Plot", "Print=Print (Ctrl+P)", "Export=Export"},
         "Data List"},
        {make<FileList>(),
         "FileList",
         {360, 20},
         271,
         {"Plot=Plot", "Print=Print (Ctrl+P)", "Export=Export"},
         "Real Time List --- 2000LUX"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.list->objectName(), QString::fromLatin1(c.name));
        EXPECT_EQ(c.list->windowTitle(), QString::fromLatin1(c.caption));
        EXPECT_EQ(QRect(c.list->pos(), c.list->size()), QRect(c.position, QSize(329, c.height)));
        auto* toolbar = c.list->findChild<QToolBar*>(QStringLiteral("Toolbar1"));
        ASSERT_NE(toolbar, nullptr);
        EXPECT_EQ(toolbar->geometry(), QRect(0, 0, 329, 28));
        QStringList buttons;
        for (QAction* action : toolbar->actions())
            buttons << action->objectName() + u'=' + action->toolTip();
        EXPECT_EQ(buttons, c.buttons);
        auto* grid = c.list->findChild<RecordGrid*>(QStringLiteral("Grid"));
        ASSERT_NE(grid, nullptr);
        EXPECT_EQ(grid->geometry(), QRect(0, 32, 329, 241));
    }
}

TEST_F(ListWindowTest, GridShowsTitlesAboveColumnsThatHoldTheirCellsWhole) {
    RecordGrid& grid = make<DataList>()->grid();
    const QFontMetrics metrics(grid.font());
    // Each column's title, its width in pixels, and the widest text its cells hold.
    const struct {
        const char* title;
        int width;
        const char* widest;
    } columns[] = {{"No.s", 64, "86400"},
                   {"   Time", 132, "22/06/2010 14:05:09"},
                   {"Value", 59, "19999"},
                   {"Bat", 51, "Low"}};
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(grid.columnWidth(c), columns[c].width) << c;
        EXPECT_EQ(grid.model()->headerData(c, Qt::Horizontal).toString(),
                  QString::fromLatin1(columns[c].title));
        EXPECT_GT(grid.columnWidth(c),
                  metrics.horizontalAdvance(QString::fromLatin1(columns[c].widest)))
            << c;
    }
    EXPECT_TRUE(grid.horizontalHeader()->isVisible());
    EXPECT_TRUE(grid.isRowHidden(0));
}

TEST_F(ListWindowTest, LiveListScrollsFromTheSixteenthRow) {
    RealTimeList* list = make<RealTimeList>();
    RecordGrid& grid = list->grid();
    const struct {
        int rows;
        int top;
    } steps[] = {{1, 1}, {15, 1}, {16, 2}, {17, 3}, {40, 26}};
    int added = 0;
    for (const auto& step : steps) {
        while (added < step.rows)
            list->addLiveRow(QString::number(++added) +
                             QStringLiteral("\t22/06/2010 14:05:09\t1\t"));
        EXPECT_EQ(grid.topRow(), step.top) << step.rows;
        EXPECT_EQ(grid.rowViewportPosition(step.top), 0);
        EXPECT_EQ(grid.currentIndex().row(), step.rows);
    }
    EXPECT_EQ(grid.rowAt(grid.viewport()->height() - 1), 40);
}

TEST_F(ListWindowTest, WhileRecordingSaveIsRefusedButPrintWorks) {
    state.Recording = true;
    RealTimeList* list = make<RealTimeList>();
    list->addLiveRow(kRow);
    click(list, "Save");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text,
              QStringLiteral("Aready in recording mode, close it and try again !"));
    EXPECT_EQ(dialogs.shown[0].icon, Dialogs::Icon::Critical);

    click(list, "Print");
    ASSERT_EQ(printer.jobs.size(), 1u);
    EXPECT_EQ(printer.jobs[0].lines.size(), 3);
    EXPECT_TRUE(printer.jobs[0].ended);
    EXPECT_EQ(poll, QStringList({"off", "on"}));
    EXPECT_EQ(list->windowTitle(), QStringLiteral("List---*ID=12 Range:2000/LUX"));
}

TEST_F(ListWindowTest, SaveWritesTheRowsAndKeepsTheCaption) {
    DataList* list = make<DataList>();
    list->setCaption(QStringLiteral("Data List---*ID=3 Range:20/Fc"));
    list->model().appendRows({kRow, QStringLiteral("2\t22/06/2010 14:05:11\t19.99\tLow")});
    dialogs.saveAnswers.push_back(path("data.txt"));
    click(list, "Save");
    EXPECT_EQ(readAll(path("data.txt")), "*ID=3 Range:20/Fc\r\n"
                                         "1\t22/06/2010 14:05:09\t1230\t\t\r\n"
                                         "2\t22/06/2010 14:05:11\t19.99\tLow\t\r\n");
    EXPECT_EQ(list->windowTitle(), QStringLiteral("Data List---*ID=3 Range:20/Fc"));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// Export writes the list as CSV, or JSON Lines for a ".jsonl" name; the CSV opens again as the
// very list it came from. A file that cannot be written says so and leaves nothing behind.
TEST_F(ListWindowTest, ExportWritesCsvOrJsonLinesAndTheCsvOpensAsTheList) {
    DataList* list = make<DataList>();
    list->setCaption(QStringLiteral("Data List---*ID=3 Range:20/Fc"));
    const QStringList rows = {kRow, QStringLiteral("2\t22/06/2010 14:05:11\tOL\tLow")};
    list->model().appendRows(rows);
    const QTimeZone zone = QTimeZone::systemTimeZone();
    const std::optional<QString> t1 = isoTime(u"22/06/2010 14:05:09", zone);
    const std::optional<QString> t2 = isoTime(u"22/06/2010 14:05:11", zone);
    ASSERT_TRUE(t1 && t2);

    dialogs.saveAnswers = {path("data.csv"), path("data.jsonl"), path("no/such/folder.csv")};
    click(list, "Export");
    EXPECT_EQ(readAll(path("data.csv")).toStdString(),
              ("number,time,value,reading,unit,range,battery_low,meter_id,local_time\r\n"
               "1," +
               *t1 +
               ",1230,1230,Fc,20,false,3,2010-06-22T14:05:09\r\n"
               "2," +
               *t2 + ",,OL,Fc,20,true,3,2010-06-22T14:05:11\r\n")
                  .toStdString());
    click(list, "Export");
    EXPECT_EQ(readAll(path("data.jsonl")).count('\n'), 2);
    EXPECT_TRUE(readAll(path("data.jsonl")).startsWith(R"({"number":1,"time":")"));
    click(list, "Export");
    EXPECT_EQ(dialogs.messages(),
              QStringList({"Cannot write the file, check the disk and try again!"}));
    EXPECT_FALSE(QDir(path("no")).exists());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    dialogs.openAnswers = {path("data.csv")};
    QPointer<FileList> opened;
    openFileList(context, owner, [&](FileList& l) { opened = &l; });
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->windowTitle(), "data.csv---*ID=3 Range:20/Fc");
    ASSERT_EQ(opened->model().dataRowCount(), 2);
    EXPECT_EQ(opened->model().rowView(1), list->model().rowView(1));
    EXPECT_EQ(opened->model().rowView(2), list->model().rowView(2));
    EXPECT_EQ(dialogs.messages(),
              QStringList({"Cannot write the file, check the disk and try again!"}));
}

// Ctrl+C copies the selected rows under the titles, TAB separated, for a spreadsheet.
TEST_F(ListWindowTest, CopyPutsTheSelectedRowsWithTitlesOnTheClipboard) {
    DataList* list = make<DataList>();
    list->model().appendRows({kRow, QStringLiteral("2\t22/06/2010 14:05:11\tOL\tLow"),
                              QStringLiteral("3\t22/06/2010 14:05:12\t5\t")});
    QItemSelectionModel* selection = list->grid().selectionModel();
    selection->select(list->model().index(3, 1), QItemSelectionModel::Select);
    selection->select(list->model().index(1, 2), QItemSelectionModel::Select);
    list->findChild<QAction*>(QStringLiteral("Copy"))->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "No.s\tTime\tValue\tBat\n"
                                                                  "1\t22/06/2010 14:05:09\t1230\t\n"
                                                                  "3\t22/06/2010 14:05:12\t5\t\n");
}

// The window goes from the screen at once, but the object outlives the print that waits in it.
TEST_F(ListWindowTest, ClosingWhilePrintingEndsThePrintThenFreesTheWindow) {
    QPointer<RealTimeList> list = make<RealTimeList>();
    for (int i = 0; i < 5; ++i)
        list->addLiveRow(kRow);
    state.ListOn = true;
    clock.duringWait = [&] {
        list->close();
        settleDeletes();
        ASSERT_FALSE(list.isNull());
        EXPECT_FALSE(list->isVisible());
    };
    click(list, "Print");
    ASSERT_EQ(printer.jobs.size(), 1u);
    EXPECT_TRUE(printer.jobs[0].aborted);
    EXPECT_EQ(poll, QStringList({"off", "on"}));
    settleDeletes();
    EXPECT_TRUE(list.isNull());
    // Form_Unload ran: the next list starts afresh.
    EXPECT_FALSE(state.ListOn);
    EXPECT_EQ(state.ListCount, 0);
}

// A list still filling shows its progress in the caption and holds incomplete rows: its
// commands wait until it is complete.
TEST_F(ListWindowTest, CommandsWaitUntilTheListIsComplete) {
    QFile file(path("big.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("*ID=7 Range:2000/LUX\r\n");
    for (int i = 1; i <= 3000; ++i)
        file.write(QByteArray::number(i) + "\t22/06/2010 14:05:09\t5\t\r\n");
    file.close();

    int plots = 0;
    const QStringList keys = {"Save", "Print", "Plot"};
    dialogs.openAnswers = {path("big.txt")};
    dialogs.saveAnswers = {path("copy.txt")};
    bool clicked = false;
    clock.duringWait = [&] {
        if (clicked)
            return;
        clicked = true;
        auto* list = owner.open<FileList>("FileList");
        ASSERT_TRUE(list);
        for (const QString& key : keys)
            list->Toolbar1_ButtonClick(key);
    };
    openFileList(context, owner, [&](FileList& list) {
        QObject::connect(&list, &RecordListWindow::plotRequested, [&] { ++plots; });
    });
    clock.duringWait = nullptr;
    ASSERT_TRUE(clicked);
    FileList* list = owner.open<FileList>("FileList");
    windows.push_back(list);
    EXPECT_EQ(plots, 0);
    EXPECT_TRUE(printer.jobs.empty());
    EXPECT_TRUE(dialogs.shown.size() == 1u && dialogs.shown[0].kind == "open");

    for (const char* key : {"Plot", "Print"})
        click(list, key);
    EXPECT_EQ(plots, 1);
    ASSERT_EQ(printer.jobs.size(), 1u);
    ASSERT_EQ(printer.jobs[0].lines.size(), 3002);
    EXPECT_EQ(printer.jobs[0].lines.first(), "big.txt---*ID=7 Range:2000/LUX");
}

TEST_F(ListWindowTest, OpenReplacesTheFileList) {
    const std::pair<const char*, QByteArray> files[] = {
        {"one.txt", "*ID=1 Range:200/Fc\r\n1\t01/01/2011 00:00:01\t150.5\t\r\n"},
        {"two.txt", "*ID=2 Range:20000/LUX\r\n1\tt\t1\t\t\r\n2\tt\t2\t\t\r\n3\tt\t3\tLow\t"}};
    for (const auto& [name, bytes] : files) {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    int created = 0;
    dialogs.openAnswers = {path("one.txt"), path("two.txt")};
    openFileList(context, owner, [&](FileList&) { ++created; });
    QPointer<FileList> first = owner.open<FileList>("FileList");
    ASSERT_FALSE(first.isNull());
    windows.push_back(first.data());
    EXPECT_EQ(first->windowTitle(), QStringLiteral("one.txt---*ID=1 Range:200/Fc"));
    EXPECT_EQ(first->model().cell(1, 2), QStringLiteral("150.5"));
    EXPECT_TRUE(first->isVisible());

    openFileList(context, owner, [&](FileList&) { ++created; });
    QPointer<FileList> current = owner.open<FileList>("FileList");
    windows.push_back(current.data());
    settleDeletes();
    EXPECT_TRUE(first.isNull());
    ASSERT_FALSE(current.isNull());
    EXPECT_EQ(current->windowTitle(), QStringLiteral("two.txt---*ID=2 Range:20000/LUX"));
    EXPECT_EQ(current->model().dataRowCount(), 3);
    EXPECT_EQ(current->model().cell(3, 3), QStringLiteral("Low"));
    EXPECT_EQ(created, 2);
}

TEST_F(ListWindowTest, OpenDoesNothingWhileRecordingOrWhenCancelled) {
    QPointer<FileList> current = make<FileList>();
    owner.adopt("FileList", current);
    state.Recording = true;
    dialogs.openAnswers = {path("any.txt")};
    openFileList(context, owner);
    EXPECT_EQ(dialogs.messages(), QStringList{"Recording Mode!\n\rPlease stop recording!"});

    state.Recording = false;
    dialogs.openAnswers = {std::nullopt, QString(), path("missing.txt")};
    openFileList(context, owner);
    openFileList(context, owner);
    EXPECT_TRUE(current->isVisible());
    // A file that cannot be opened: the old list is gone, no new one appears.
    openFileList(context, owner);
    settleDeletes();
    EXPECT_TRUE(current.isNull());
}

TEST_F(ListWindowTest, OpenSaysWhyAFileCannotBeRead) {
    QDir(dir.path()).mkdir("records");
    dialogs.openAnswers = {path("records"), path("missing.txt")};
    openFileList(context, owner);
    openFileList(context, owner);
    ASSERT_EQ(dialogs.messages(), QStringList({"Cannot read the file, check it and try again!",
                                               "Cannot read the file, check it and try again!"}));
    ASSERT_EQ(dialogs.shown.size(), 4u); // each open dialog, then its message
    EXPECT_EQ(dialogs.shown[1].detail, "records is a folder, not a record file.");
    EXPECT_TRUE(dialogs.shown[3].detail.startsWith("missing.txt: "))
        << qPrintable(dialogs.shown[3].detail);
    EXPECT_EQ(dialogs.shown[3].icon, Dialogs::Icon::Critical);
    EXPECT_EQ(owner.open("FileList"), nullptr);
}

} // namespace
