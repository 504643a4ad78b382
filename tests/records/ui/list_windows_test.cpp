#include "records/ui/DataList.h"
#include "records/ui/FileList.h"
#include "records/ui/RealTimeList.h"
#include "records/ui/RecordGrid.h"

#include "panel/AppContext.h"
#include "panel/SharedState.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedPrinter.h"
#include "support/VirtualClock.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QPointer>
#include <QTemporaryDir>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

const QRect kPanelFrame(10, 20, 350, 300);
const QString kRow = QStringLiteral("1\t22/06/2010 14:05:09\t1230\t");

void settleDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class ListWindowTest : public ::testing::Test {
public:
    ListWindowTest() {
        state.ListID = Value::fromNumber(12);
        state.Range = 2000;
        state.Unit = QStringLiteral("LUX");
        context.panelFrame = [] { return kPanelFrame; };
        context.setPollEnabled = [this](bool on) { poll << (on ? "on" : "off"); };
    }
    ~ListWindowTest() override {
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
    static void click(QWidget* window, const char* key) {
        QAction* action = window->findChild<QAction*>(QString::fromLatin1(key));
        ASSERT_NE(action, nullptr) << key;
        action->trigger();
    }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    void writeFile(const char* name, const QByteArray& bytes) const {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir dir;
    SharedState state;
    VirtualClock clock;
    ScriptedDialogs dialogs;
    ScriptedPrinter printer;
    AppContext context{state, clock, dialogs, printer, nullptr, {}, {}, {}};
    QStringList poll;
    std::vector<QPointer<QWidget>> windows;
};

struct DesignCase {
    const char* name;
    std::function<RecordListWindow*(ListWindowTest&)> make;
    QPoint position;
    int clientHeight;
    QStringList keys;
    QStringList tooltips;
    const char* caption;
};

class ListDesign : public ListWindowTest, public ::testing::WithParamInterface<DesignCase> {};

TEST_P(ListDesign, ControlsPositionAndCaption) {
    const DesignCase& c = GetParam();
    RecordListWindow* list = c.make(*this);
    EXPECT_EQ(list->objectName(), QString::fromLatin1(c.name));
    EXPECT_EQ(list->windowTitle(), QString::fromLatin1(c.caption));
    EXPECT_EQ(list->pos(), c.position);
    EXPECT_EQ(list->size(), QSize(329, c.clientHeight));

    auto* toolbar = list->findChild<QToolBar*>(QStringLiteral("Toolbar1"));
    ASSERT_NE(toolbar, nullptr);
    EXPECT_EQ(toolbar->geometry(), QRect(0, 0, 329, 28));
    QStringList keys, tooltips;
    for (QAction* action : toolbar->actions()) {
        keys << action->objectName();
        tooltips << action->toolTip();
        EXPECT_FALSE(action->icon().isNull());
    }
    EXPECT_EQ(keys, c.keys);
    EXPECT_EQ(tooltips, c.tooltips);

    auto* grid = list->findChild<RecordGrid*>(QStringLiteral("Grid"));
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->geometry(), QRect(0, 32, 329, 241));
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ListDesign,
    ::testing::Values(DesignCase{"RealTimeList",
                                 [](ListWindowTest& t) { return t.make<RealTimeList>(); },
                                 {360, 20},
                                 274,
                                 {"Save", "Print"},
                                 {"Save As", "Print"},
                                 "List---*ID=12 Range:2000/LUX"},
                      DesignCase{"DataList",
                                 [](ListWindowTest& t) { return t.make<DataList>(); },
                                 {0, 0},
                                 271,
                                 {"Save", "Plot", "Print"},
                                 {"Save As", "Plot", "Print"},
                                 "Data List"},
                      DesignCase{"FileList",
                                 [](ListWindowTest& t) { return t.make<FileList>(); },
                                 {360, 20},
                                 271,
                                 {"Plot", "Print"},
                                 {"Plot", "Print"},
                                 "Real Time List --- 2000LUX"}),
    [](const ::testing::TestParamInfo<DesignCase>& info) { return info.param.name; });

TEST_F(ListWindowTest, GridShowsTitlesAboveRowsWithWidthsFromTheFont) {
    auto* list = make<DataList>();
    RecordGrid& grid = list->grid();
    const QFontMetrics metrics(grid.font());
    const char* widths[] = {" 000000AAA ", "YY/MM/DD HH:NN:SSAAA", "AAAAAAAA", "AAAAAAA"};
    const char* titles[] = {"No.s", "   Time", "Value", "Bat"};
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(grid.columnWidth(c), metrics.horizontalAdvance(QString::fromLatin1(widths[c])));
        EXPECT_EQ(grid.horizontalHeader()->model()->headerData(c, Qt::Horizontal).toString(),
                  QString::fromLatin1(titles[c]));
    }
    EXPECT_TRUE(grid.horizontalHeader()->isVisible());
    EXPECT_TRUE(grid.isRowHidden(0));
    list->model().appendRow(kRow);
    QApplication::processEvents();
    EXPECT_EQ(grid.topRow(), 1);
    EXPECT_EQ(grid.rowViewportPosition(1), 0);
}

TEST_F(ListWindowTest, LiveListScrollsFromTheSixteenthRow) {
    auto* list = make<RealTimeList>();
    RecordGrid& grid = list->grid();
    const struct {
        int rows;
        int top;
    } steps[] = {{1, 1}, {15, 1}, {16, 2}, {17, 3}, {40, 26}};
    int added = 0;
    for (const auto& step : steps) {
        while (added < step.rows) {
            ++added;
            list->addLiveRow(QString::number(added) + QStringLiteral("\t22/06/2010 14:05:09\t1\t"));
        }
        EXPECT_EQ(grid.topRow(), step.top) << step.rows;
        EXPECT_EQ(grid.currentIndex().row(), step.rows);
    }
    // The newest row is in view.
    EXPECT_EQ(grid.rowAt(grid.viewport()->height() - 1), 40);
}

TEST_F(ListWindowTest, ClosingTheLiveListStopsTheCollection) {
    state.ListOn = true;
    state.ListCount = 7;
    QPointer<RealTimeList> list = make<RealTimeList>();
    list->close();
    settleDeletes();
    EXPECT_FALSE(state.ListOn);
    EXPECT_EQ(state.ListCount, 0);
    EXPECT_TRUE(list.isNull());
}

TEST_F(ListWindowTest, SaveIsRefusedWhileRecording) {
    state.Recording = true;
    auto* list = make<RealTimeList>();
    click(list, "Save");
    EXPECT_EQ(dialogs.messages(),
              QStringList{"Aready in recording mode, close it and try again !"});
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].icon, Dialogs::Icon::Critical);
}

TEST_F(ListWindowTest, SaveWritesTheRowsAndKeepsTheCaption) {
    auto* list = make<DataList>();
    list->setCaption(QStringLiteral("Data List---*ID=3 Range:20/Fc"));
    list->model().appendRows({kRow, QStringLiteral("2\t22/06/2010 14:05:11\t19.99\tLow")});
    dialogs.saveAnswers.push_back(path("data.txt"));
    click(list, "Save");

    QFile file(path("data.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "*ID=3 Range:20/Fc\r\n"
                              "1\t22/06/2010 14:05:09\t1230\t\t\r\n"
                              "2\t22/06/2010 14:05:11\t19.99\tLow\t\r\n");
    EXPECT_EQ(list->windowTitle(), QStringLiteral("Data List---*ID=3 Range:20/Fc"));
    EXPECT_FALSE(state.FileSelected);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(ListWindowTest, FileListHasNoSave) {
    auto* list = make<FileList>();
    list->Toolbar1_ButtonClick(QStringLiteral("Save"));
    list->Toolbar1_ButtonClick(QStringLiteral("AVG"));
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(printer.jobs.empty());
}

TEST_F(ListWindowTest, PrintWorksDuringRecording) {
    state.Recording = true;
    auto* list = make<RealTimeList>();
    list->addLiveRow(kRow);
    click(list, "Print");
    ASSERT_EQ(printer.jobs.size(), 1u);
    EXPECT_EQ(printer.jobs[0].lines,
              QStringList({"List---*ID=12 Range:2000/LUX", "------------------------------",
                           "1      22/06/2010 14:05:09 1230   "}));
    EXPECT_TRUE(printer.jobs[0].ended);
    EXPECT_EQ(poll, QStringList({"off", "on"}));
    EXPECT_EQ(list->windowTitle(), QStringLiteral("List---*ID=12 Range:2000/LUX"));
}

TEST_F(ListWindowTest, ClosingWhilePrintingWaitsForThePrintToStop) {
    QPointer<RealTimeList> list = make<RealTimeList>();
    for (int i = 0; i < 5; ++i)
        list->addLiveRow(kRow);
    state.ListOn = true;
    clock.duringWait = [&] {
        list->close();
        settleDeletes();
        ASSERT_FALSE(list.isNull());
        EXPECT_TRUE(state.ListOn);
    };
    click(list, "Print");
    ASSERT_EQ(printer.jobs.size(), 1u);
    EXPECT_TRUE(printer.jobs[0].aborted);
    EXPECT_EQ(poll, QStringList({"off", "on"}));
    settleDeletes();
    EXPECT_TRUE(list.isNull());
    EXPECT_FALSE(state.ListOn);
}

TEST_F(ListWindowTest, PlotTakesRangeUnitAndRowsFromTheList) {
    auto* list = make<DataList>();
    list->setCaption(QStringLiteral("Data List---*ID=3 Range:20/Fc"));
    list->model().appendRows({kRow, kRow});
    int requests = 0;
    QObject::connect(list, &RecordListWindow::plotRequested, [&] { ++requests; });
    state.PlotFromFileList = true;
    click(list, "Plot");
    EXPECT_EQ(requests, 1);
    EXPECT_EQ(state.PlotMax, 20);
    EXPECT_EQ(state.PlotUnit, QStringLiteral("Fc"));
    EXPECT_EQ(state.PlotRecords, 2);
    EXPECT_FALSE(state.PlotFromFileList);

    auto* fileList = make<FileList>();
    click(fileList, "Plot");
    EXPECT_TRUE(state.PlotFromFileList);
    EXPECT_EQ(state.PlotRecords, 0);
}

TEST_F(ListWindowTest, OpenReplacesTheFileList) {
    writeFile("one.txt", "*ID=1 Range:200/Fc\r\n1\t01/01/2011 00:00:01\t150.5\t\r\n");
    writeFile("two.txt", "*ID=2 Range:20000/LUX\r\n1\tt\t1\t\t\r\n2\tt\t2\t\t\r\n3\tt\t3\tLow\t");
    QPointer<FileList> current;
    int created = 0;
    dialogs.openAnswers = {path("one.txt"), path("two.txt")};

    FileList::openCommand(context, current, [&](FileList&) { ++created; });
    ASSERT_FALSE(current.isNull());
    windows.push_back(current.data());
    QPointer<FileList> first = current;
    EXPECT_EQ(first->windowTitle(), QStringLiteral("one.txt---*ID=1 Range:200/Fc"));
    EXPECT_EQ(first->model().cell(1, 2), QStringLiteral("150.5"));
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->pos(), QPoint(360, 20));

    FileList::openCommand(context, current, [&](FileList&) { ++created; });
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
    writeFile("one.txt", "*ID=1 Range:200/Fc\r\n");
    QPointer<FileList> current = make<FileList>();
    state.Recording = true;
    dialogs.openAnswers = {path("one.txt")};
    FileList::openCommand(context, current);
    EXPECT_EQ(dialogs.messages(), QStringList{"Recording Mode!\n\rPlease stop recording!"});

    state.Recording = false;
    dialogs.openAnswers = {std::nullopt, path("missing.txt")};
    FileList::openCommand(context, current);
    EXPECT_TRUE(current->isVisible());
    // A file that cannot be opened: the old list is gone, no new one appears.
    FileList::openCommand(context, current);
    settleDeletes();
    EXPECT_TRUE(current.isNull());
}

} // namespace
