#include "charts/ui/ListPlot.h"
#include "charts/ui/RealTimeGraph.h"

#include "common/AppContext.h"
#include "common/SharedState.h"
#include "panel/ui/PanelWindow.h"
#include "records/RecordFile.h"
#include "records/ui/FileList.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedPort.h"
#include "support/ScriptedPrinter.h"
#include "support/TestContext.h"
#include "support/VirtualClock.h"

#include <QAction>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The main window on a scripted meter that reads 123 LUX on the 2000 range.
struct ChartCommands : ::testing::Test, TestContext {
    ChartCommands()
        : panel(context, [this](const AppContext&) {
            auto p = std::make_unique<ScriptedPort>(clock);
            p->defaultReply = fromHexText("02 20 01 23 03");
            return p;
        }) {
        state.ComPort = 1;
    }
    ~ChartCommands() override {
        panel.windows().closeAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    PanelWindow panel;
};

} // namespace

TEST_F(ChartCommands, GraphButtonOpensTheGraphOnTheLiveReading) {
    ASSERT_TRUE(panel.Form_Load());
    panel.Timer1_Timer();
    panel.Toolbar1_ButtonClick(QStringLiteral("Graph"));
    auto* graph = panel.windows().open<RealTimeGraph>(QStringLiteral("RealTimeGraph"));
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(state.GraphTop, 2000);
    EXPECT_EQ(state.RefUnit, "LUX");
    graph->Timer1_Timer();
    EXPECT_EQ(state.GraphPrevY, 337 - 123 * 264.0 / 2000);
    // A plot suspends the poll and the sampling; the graph's sweep goes on.
    {
        ScopedPause plotting(context.timers);
        EXPECT_FALSE(panel.timer1().isActive());
        EXPECT_TRUE(graph->timer1().isActive());
    }
    EXPECT_TRUE(panel.timer1().isActive());
    EXPECT_TRUE(graph->timer1().isActive());
    // Again: the running graph closes and a new one starts empty.
    panel.Toolbar1_ButtonClick(QStringLiteral("Graph"));
    auto* again = panel.windows().open<RealTimeGraph>(QStringLiteral("RealTimeGraph"));
    EXPECT_NE(again, graph);
    EXPECT_EQ(state.GraphPrevX, 0);
}

TEST_F(ChartCommands, PlotOnAFileListPlotsItsRecords) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("day.txt"));
    {
        RecordWriter writer;
        ASSERT_TRUE(writer.create(path));
        ASSERT_TRUE(writer.writeLine(QStringLiteral("*ID=7 Range:200/Fc")));
        for (int n = 1; n <= 30; ++n) {
            ASSERT_TRUE(writer.writeLine(
                QStringLiteral("%1\t22/06/2010 14:05:%2\t%3\t").arg(n).arg(n + 9).arg(n * 5)));
        }
        ASSERT_TRUE(writer.close());
    }
    ASSERT_TRUE(panel.Form_Load());
    dialogs.openAnswers = {path};
    panel.Toolbar1_ButtonClick(QStringLiteral("Open"));
    auto* list = panel.windows().open<FileList>(QStringLiteral("FileList"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->model().dataRowCount(), 30);
    list->findChild<QAction*>(QStringLiteral("Plot"))->trigger();
    auto* plot = panel.windows().open<ListPlot>(QStringLiteral("ListPlot"));
    ASSERT_NE(plot, nullptr);
    EXPECT_TRUE(state.PlotFromFileList);
    EXPECT_EQ(state.PlotTop, 200);
    EXPECT_EQ(state.PlotUnit, "Fc");
    EXPECT_EQ(state.PlotCount, 30);
    EXPECT_FALSE(plot->plotting());
    EXPECT_TRUE(panel.timer1().isActive());
    // Plot again: the open plot gives way to a new one.
    list->findChild<QAction*>(QStringLiteral("Plot"))->trigger();
    EXPECT_NE(panel.windows().open<ListPlot>(QStringLiteral("ListPlot")), plot);
}
