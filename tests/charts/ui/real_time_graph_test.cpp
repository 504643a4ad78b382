#include "charts/ChartScale.h"
#include "charts/ui/OpenCharts.h"
#include "charts/ui/RealTimeGraph.h"
#include "charts/ui/RealTimeRange.h"

#include "common/AppContext.h"
#include "common/SharedState.h"
#include "common/ui/WindowOwner.h"
#include "support/Pixels.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedPrinter.h"
#include "support/TestContext.h"
#include "support/VirtualClock.h"
#include "support/WindowLookup.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolBar>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

void type(QWidget* box, const QString& keys) {
    for (const QChar c : keys) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &press);
    }
}

void pressEnter(QWidget* box) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(box, &press);
}

// Black pixels in the plot area: the trace.
int tracePixels(const QImage& image, const ChartLayout& l) {
    int n = 0;
    for (int y = static_cast<int>(l.Baseline - l.PlotHeight) - 5; y <= l.Baseline + 3; ++y) {
        for (int x = static_cast<int>(l.AxisX); x < l.AxisX + l.PlotWidth; ++x)
            n += image.pixel(x, y) == kBlack;
    }
    return n;
}

class GraphTest : public ::testing::Test, public TestContext {
protected:
    GraphTest() {
        state.Unit = QStringLiteral("LUX");
        state.Range = 2000;
        state.Value = Value::fromNumber(1000);
        context.panelFrame = [] { return QRect(10, 20, 350, 300); };
        context.timers.addSwitch(this, [this](bool on) { timers << (on ? "on" : "off"); });
    }
    ~GraphTest() override {
        owner.closeAll();
        settleDeletes();
        context.timers.removeSwitch(this);
    }
    RealTimeGraph* graph() const {
        return owner.open<RealTimeGraph>(QStringLiteral("RealTimeGraph"));
    }
    RealTimeRange* range() const {
        return owner.open<RealTimeRange>(QStringLiteral("RealTimeRange"));
    }
    RealTimeGraph* openGraph() {
        openRealTimeGraph(context, owner);
        return graph();
    }
    RealTimeRange* openRange() {
        click(graph(), "Limit");
        return range();
    }
    void enterRange(const char* max, const char* min, const char* counts) {
        RealTimeRange* dialog = range();
        child<QLineEdit>(dialog, "TxtMax")->setText(QString::fromLatin1(max));
        child<QLineEdit>(dialog, "TxtMin")->setText(QString::fromLatin1(min));
        child<QLineEdit>(dialog, "TxtCounts")->setText(QString::fromLatin1(counts));
        child<QPushButton>(dialog, "CmdOK")->click();
    }

    WindowOwner owner;
    QStringList timers;
};

} // namespace

TEST_F(GraphTest, GraphCommandOpensTheGraphBesideThePanel) {
    state.RefUnit = QStringLiteral("Fc");
    RealTimeGraph* g = openGraph();
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->windowTitle(), "Real Time Graph ");
    EXPECT_EQ(g->size(), QSize(349, 364));
    EXPECT_EQ(g->pos(), QPoint(360, 0));
    QStringList buttons;
    for (QAction* action : child<QToolBar>(g, "Toolbar1")->actions())
        buttons << action->objectName();
    EXPECT_EQ(buttons, QStringList({"Limit", "Print", "SavePicture"}));
    EXPECT_TRUE(g->timer1().isActive());
    EXPECT_EQ(g->timer1().interval(), 50);

    EXPECT_EQ(state.RefUnit, "LUX");
    EXPECT_EQ(state.RefRange, 2000);
    EXPECT_EQ(state.GraphMax, 2000);
    EXPECT_EQ(state.GraphMin, 0);
    EXPECT_EQ(state.GraphTop, 2000);
    EXPECT_EQ(state.GraphBottom, 0);
    EXPECT_EQ(state.GraphStep, 1);
    EXPECT_EQ(state.GridColour, 7);
    EXPECT_EQ(state.GraphLayout, ComputeChartLayout(349, 364));
    EXPECT_EQ(state.GraphX, -1);
    EXPECT_EQ(state.GraphPrevX, 0);
    // The frame is drawn and the plot area is empty.
    EXPECT_EQ(g->image().size(), QSize(349, 364));
    EXPECT_EQ(g->image().pixel(58, 200), kBlack);
    EXPECT_EQ(tracePixels(g->image(), state.GraphLayout), 0);
}

TEST_F(GraphTest, UnitOrRangeChangeClosesTheGraphAndItsDialog) {
    const struct {
        const char* unit;
        std::optional<qint16> range;
    } cases[] = {{"Fc", 2000}, {"LUX", 200}, {"LUX", std::nullopt}};
    for (const auto& c : cases) {
        state.Unit = QStringLiteral("LUX");
        state.Range = 2000;
        RealTimeGraph* g = openGraph();
        ASSERT_NE(openRange(), nullptr);
        QPointer<RealTimeGraph> watched = g;
        state.Unit = QString::fromLatin1(c.unit);
        state.Range = c.range;
        g->Timer1_Timer();
        EXPECT_EQ(graph(), nullptr) << c.unit;
        EXPECT_EQ(range(), nullptr) << c.unit;
        settleDeletes();
        EXPECT_TRUE(watched.isNull());
    }
}

TEST_F(GraphTest, GraphAgainRestartsEmpty) {
    RealTimeGraph* first = openGraph();
    for (int i = 0; i < 20; ++i)
        first->Timer1_Timer();
    QPointer<RealTimeGraph> old = first;
    RealTimeGraph* second = openGraph();
    EXPECT_NE(second, first);
    EXPECT_TRUE(old.isNull() || old->closing());
    EXPECT_EQ(state.GraphX, -1);
    EXPECT_EQ(state.GraphPrevX, 0);
    EXPECT_EQ(tracePixels(second->image(), state.GraphLayout), 0);
}

TEST_F(GraphTest, ResizeClearsAndRestartsTheSweep) {
    RealTimeGraph* g = openGraph();
    for (int i = 0; i < 20; ++i)
        g->Timer1_Timer();
    g->resize(500, 400);
    EXPECT_EQ(state.GraphLayout, ComputeChartLayout(500, 400));
    EXPECT_EQ(g->image().size(), QSize(500, 400));
    EXPECT_EQ(state.GraphX, -1);
    EXPECT_EQ(state.GraphPrevX, 0);
    EXPECT_EQ(tracePixels(g->image(), state.GraphLayout), 0);
    g->Timer1_Timer();
    EXPECT_EQ(tracePixels(g->image(), state.GraphLayout), 0); // a point, no segment yet
    // Too narrow: only the width is corrected.
    g->resize(300, 500);
    EXPECT_EQ(g->size(), QSize(349, 500));
}

// A record plot holds the timers that read the live reading off; the sweep follows the clock and
// goes on. Closing the graph stops it.
TEST_F(GraphTest, TimerRunsThroughARecordPlotAndStopsAtTheClose) {
    RealTimeGraph* g = openGraph();
    {
        ScopedPause plotting(context.timers);
        EXPECT_TRUE(g->timer1().isActive());
    }
    EXPECT_TRUE(g->timer1().isActive());
    g->close();
    EXPECT_FALSE(g->timer1().isActive());
}

// Without a window manager nothing holds the minimum size: squeezed, the graph snaps back.
TEST_F(GraphTest, SqueezedGraphSnapsBackToItsSmallestSize) {
    RealTimeGraph* g = openGraph();
    g->setMinimumSize(0, 0); // as an X server without a window manager lets it be
    g->resize(500, 200);
    EXPECT_EQ(g->size(), QSize(500, 364));
    EXPECT_EQ(state.GraphLayout, ComputeChartLayout(500, 364));
}

TEST_F(GraphTest, PrintPrintsTheChartAsDrawnWithoutTheToolbar) {
    RealTimeGraph* g = openGraph();
    for (int i = 0; i < 30; ++i)
        g->Timer1_Timer();
    click(g, "Print");
    ASSERT_EQ(printer.images.size(), 1u);
    const QImage& printed = printer.images[0];
    EXPECT_EQ(printed, g->image());
    EXPECT_EQ(printed.size(), QSize(349, 364));
    // Where the toolbar lies over the window, the printed chart is blank.
    for (int x = 0; x < 349; ++x)
        ASSERT_EQ(printed.pixel(x, 10), qRgb(255, 255, 255)) << x;
    EXPECT_TRUE(g->timer1().isActive());
}

TEST_F(GraphTest, LimitOpensTheRangeDialogAndTheGraphKeepsRunning) {
    RealTimeGraph* g = openGraph();
    RealTimeRange* dialog = openRange();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Real Time Range");
    EXPECT_EQ(child<QLineEdit>(dialog, "TxtMax")->text(), "2000");
    EXPECT_EQ(child<QLineEdit>(dialog, "TxtMin")->text(), "0");
    EXPECT_EQ(child<QLineEdit>(dialog, "TxtCounts")->text(), "270");
    EXPECT_TRUE(g->timer1().isActive());
    click(g, "Limit");
    EXPECT_EQ(range(), dialog); // one dialog
}

TEST_F(GraphTest, RangeBoxesFilterTypedKeysAndEnterMovesOn) {
    openGraph();
    RealTimeRange* dialog = openRange();
    auto* max = child<QLineEdit>(dialog, "TxtMax");
    auto* min = child<QLineEdit>(dialog, "TxtMin");
    auto* counts = child<QLineEdit>(dialog, "TxtCounts");
    for (QLineEdit* box : {max, min, counts})
        box->clear();
    type(max, "1a2,-.e5 ");
    type(min, "-1x.5");
    type(counts, "2-7.q");
    EXPECT_EQ(max->text(), "12-.5");
    EXPECT_EQ(min->text(), "-1.5");
    EXPECT_EQ(counts->text(), "27");
    // Pasted text is not filtered.
    counts->insert(QStringLiteral("x"));
    EXPECT_EQ(counts->text(), "27x");

    pressEnter(max);
    EXPECT_EQ(dialog->focusWidget(), min);
    pressEnter(min);
    EXPECT_EQ(dialog->focusWidget(), counts);
    EXPECT_TRUE(dialogs.shown.empty());
    pressEnter(counts); // runs OK: 12 over -1.5 is out of range
    EXPECT_EQ(dialogs.messages(), QStringList({"0 <= LUX <= 2000, try again!"}));
}

TEST_F(GraphTest, RejectedRangeStoresNothingAndKeepsTheDialog) {
    openGraph();
    openRange();
    const struct {
        const char *max, *min, *counts, *message;
    } cases[] = {
        {"3000", "0", "270", "0 <= LUX <= 2000, try again!"},
        {"500", "500", "270", "0 <= LUX <= 2000, try again!"},
        // The limits are fine but the counts are not: the limits are not taken either.
        {"1000", "100", "9", "10 <= Counts <= 864000, try again!"},
        {"1000", "100", "", "10 <= Counts <= 864000, try again!"},
    };
    for (const auto& c : cases) {
        dialogs.shown.clear();
        enterRange(c.max, c.min, c.counts);
        EXPECT_EQ(dialogs.messages(), QStringList({QString::fromLatin1(c.message)}));
        EXPECT_EQ(dialogs.shown.at(0).icon, Dialogs::Icon::Critical);
        EXPECT_EQ(state.GraphTop, 2000);
        EXPECT_EQ(state.GraphBottom, 0);
        EXPECT_EQ(state.GraphStep, 1);
        EXPECT_NE(range(), nullptr);
        EXPECT_EQ(child<QLineEdit>(range(), "TxtMax")->text(), QString::fromLatin1(c.max));
    }
}

TEST_F(GraphTest, AcceptedRangeReopensTheGraphWithTheNewAxisAndStep) {
    QPointer<RealTimeGraph> old = openGraph();
    openRange();
    enterRange("1000", "200", "27");
    EXPECT_TRUE(dialogs.shown.empty());
    RealTimeGraph* g = graph();
    ASSERT_NE(g, nullptr);
    EXPECT_NE(g, old.data());
    EXPECT_EQ(range(), nullptr);
    EXPECT_EQ(state.GraphTop, 1000);
    EXPECT_EQ(state.GraphBottom, 200);
    EXPECT_EQ(state.GraphStep, 10);
    EXPECT_EQ(state.GraphX, -10);
    EXPECT_TRUE(g->timer1().isActive());
    EXPECT_EQ(g->timer1().interval(), 50);
    state.Value = Value::fromNumber(600);
    g->Timer1_Timer();
    EXPECT_EQ(state.GraphPrevY, 337 - 132);
    // The dialog opens on what it set.
    openRange();
    EXPECT_EQ(child<QLineEdit>(range(), "TxtCounts")->text(), "27");
    EXPECT_EQ(child<QLineEdit>(range(), "TxtMin")->text(), "200");
}

TEST_F(GraphTest, FailureInOkSaysWhatFailedAndKeepsTheOldGraph) {
    const struct {
        const char* name;
        bool closesFirst; // the failure comes after the old graph was closed
    } cases[] = {{"before", false}, {"after", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        openRealTimeGraph(context, owner);
        RealTimeGraph* old = graph();
        RealTimeRange* dialog = openRange();
        int calls = 0;
        dialog->showGraph = [&](AppContext& ctx, WindowOwner& o) {
            if (++calls == 1) {
                if (c.closesFirst)
                    o.close(QStringLiteral("RealTimeGraph"));
                throw std::runtime_error("no memory for the chart");
            }
            showRealTimeGraph(ctx, o);
        };
        dialogs.shown.clear();
        enterRange("1000", "200", "27");
        EXPECT_EQ(dialogs.messages(),
                  QStringList({"The graph could not be restarted: no memory for the chart"}));
        EXPECT_EQ(state.GraphTop, 2000);
        EXPECT_EQ(state.GraphBottom, 0);
        EXPECT_EQ(state.GraphStep, 1);
        ASSERT_NE(graph(), nullptr);
        EXPECT_EQ(graph() == old, !c.closesFirst);
        EXPECT_TRUE(graph()->timer1().isActive());
        EXPECT_EQ(range(), dialog);
        owner.closeAll();
        settleDeletes();
    }
}

TEST_F(GraphTest, GraphBeforeTheFirstReadingDrawsNothingUntilTheReadingClosesIt) {
    state.Unit.clear();
    state.Range.reset();
    state.Value = Value();
    RealTimeGraph* g = openGraph();
    EXPECT_EQ(state.GraphTop, 0);
    for (int i = 0; i < 10; ++i)
        g->Timer1_Timer();
    EXPECT_EQ(tracePixels(g->image(), state.GraphLayout), 0);
    EXPECT_NE(graph(), nullptr);
    state.Unit = QStringLiteral("LUX");
    state.Range = 2000;
    g->Timer1_Timer();
    EXPECT_EQ(graph(), nullptr);
}

TEST_F(GraphTest, SavePictureWritesTheChartAsPngOrSvg) {
    RealTimeGraph* g = openGraph();
    for (int i = 0; i < 30; ++i)
        g->Timer1_Timer();
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("graph.png"));
    const QString svg = dir.filePath(QStringLiteral("graph.SVG"));
    dialogs.saveAnswers = {png, svg, std::nullopt, dir.filePath(QStringLiteral("none/g.png"))};
    for (int i = 0; i < 4; ++i)
        click(g, "SavePicture");
    ASSERT_EQ(dialogs.shown.size(), 5u);
    EXPECT_EQ(dialogs.shown[0].title, "Save Picture");
    // The chart as shown, but for the sweep's red front, which the picture shows white.
    const QImage saved = QImage(png).convertToFormat(QImage::Format_RGB32);
    const QImage shown = g->image().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(saved.size(), shown.size());
    int red = 0;
    int other = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const bool front = shown.pixel(x, y) == qRgb(255, 0, 0);
            red += front;
            other += saved.pixel(x, y) != (front ? qRgb(255, 255, 255) : shown.pixel(x, y));
        }
    }
    EXPECT_GT(red, 200);
    EXPECT_EQ(other, 0);
    QFile file(svg);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("<svg "));
    // Cancelled: nothing written, no message; a folder that is not there: the message.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
    EXPECT_EQ(dialogs.messages(),
              QStringList({"Cannot write the file, check the disk and try again!"}));
    EXPECT_TRUE(g->timer1().isActive());
}
