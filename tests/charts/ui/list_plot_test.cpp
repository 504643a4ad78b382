#include "charts/ChartDrawing.h"
#include "charts/ChartScale.h"
#include "charts/PlotPreparation.h"
#include "charts/RecordPlot.h"
#include "charts/SpanStatistics.h"
#include "charts/TimeAxis.h"
#include "charts/ui/ListPlot.h"
#include "charts/ui/OpenCharts.h"
#include "charts/ui/PlotRange.h"
#include "charts/ui/SpanStatisticsWindow.h"

#include "common/AppContext.h"
#include "common/SharedState.h"
#include "common/ui/WindowOwner.h"
#include "records/RecordTableModel.h"
#include "support/Pixels.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedPrinter.h"
#include "support/TestContext.h"
#include "support/VirtualClock.h"
#include "support/WindowLookup.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QToolBar>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QString kCaption = QStringLiteral("Data List---*ID=12 Range:2000/LUX");

void fill(RecordTableModel& grid, int count) {
    QStringList rows;
    rows.reserve(count);
    for (int n = 1; n <= count; ++n) {
        const int s = n % 86400;
        rows << QStringLiteral("%1\t22/06/2010 %2:%3:%4\t%5\t")
                    .arg(n)
                    .arg(s / 3600, 2, 10, QLatin1Char('0'))
                    .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
                    .arg(s % 60, 2, 10, QLatin1Char('0'))
                    .arg(1000 + (n * 37) % 900);
    }
    grid.appendRows(rows);
}

// A list that takes the plot more than its first slice, one batch of 4096 records.
constexpr int kLongList = 20000;

class PlotTest : public ::testing::Test, public TestContext {
protected:
    PlotTest() {
        context.panelFrame = [] { return QRect(10, 20, 350, 300); };
        context.timers.addSwitch(this, [this](bool on) { timers << (on ? "on" : "off"); });
    }
    ~PlotTest() override {
        owner.closeAll();
        settleDeletes();
        context.timers.removeSwitch(this);
    }
    ListPlot* plot() const { return owner.open<ListPlot>(QStringLiteral("ListPlot")); }
    PlotRange* range() const { return owner.open<PlotRange>(QStringLiteral("PlotRange")); }
    ListPlot* openPlot(const RecordTableModel& records, const QString& caption = kCaption) {
        preparePlot(caption, records, false, state);
        openListPlot(context, owner, &records);
        return plot();
    }
    // Lets the plot run to its end.
    static void finish(ListPlot* p) {
        QElapsedTimer t;
        t.start();
        while (p && p->plotting() && t.elapsed() < 20000)
            QCoreApplication::processEvents();
    }
    // The chart as the plot's own drawing gives it on a fresh image of the window's size.
    QImage expectedChart(const RecordTableModel& records, QSize size) const {
        QImage image(size, QImage::Format_RGB32);
        image.setDotsPerMeterX(3780);
        image.setDotsPerMeterY(3780);
        image.fill(Qt::white);
        SharedState s = state;
        s.PlotLayout = ComputeChartLayout(size.width(), size.height());
        s.PlotStep = s.PlotLayout.PlotWidth / s.PlotCount;
        QPainter p(&image);
        QFont font(QStringLiteral("Arial"));
        font.setPointSize(8);
        p.setFont(font);
        DrawChartFrame(p, s.PlotLayout, s.PlotBottom, s.PlotTop, s.PlotUnit);
        RecordPlotter plotter(records, s);
        while (!plotter.finished())
            plotter.plotNext(p, 1 << 20);
        return image;
    }

    WindowOwner owner;
    QStringList timers;
};

} // namespace

TEST_F(PlotTest, PlotShowsTheListsRecordsBesideThePanel) {
    RecordTableModel records;
    fill(records, 100);
    ListPlot* p = openPlot(records);
    ASSERT_NE(p, nullptr);
    EXPECT_FALSE(p->plotting());
    EXPECT_EQ(p->windowTitle(), "Plot Data/File ");
    EXPECT_EQ(p->size(), QSize(392, 364));
    EXPECT_EQ(p->pos(), QPoint(360, 0));
    QStringList buttons;
    for (QAction* action : child<QToolBar>(p, "Toolbar1")->actions())
        buttons << action->objectName();
    EXPECT_EQ(buttons, QStringList({"Limit", "Print", "SavePicture", "TimeAxis", "Statistics"}));
    EXPECT_EQ(state.GridColour, 7);
    EXPECT_EQ(state.PlotLayout, ComputeChartLayout(392, 364));
    EXPECT_DOUBLE_EQ(state.PlotStep, 3.3);
    EXPECT_EQ(p->image(), expectedChart(records, QSize(392, 364)));
    // Polling and sampling were off while it plotted.
    EXPECT_EQ(timers, QStringList({"off", "on"}));
}

TEST_F(PlotTest, LongPlotCountsInTheCaptionWithTheTimersOff) {
    RecordTableModel records;
    fill(records, kLongList);
    ListPlot* p = openPlot(records);
    ASSERT_TRUE(p->plotting());
    EXPECT_TRUE(context.timers.paused());
    const QRegularExpression counting(QStringLiteral("^(\\d+) Records Completed$"));
    const QRegularExpressionMatch match = counting.match(p->windowTitle());
    ASSERT_TRUE(match.hasMatch()) << p->windowTitle().toStdString();
    EXPECT_GT(match.captured(1).toInt(), 0);
    EXPECT_LT(match.captured(1).toInt(), kLongList);
    finish(p);
    EXPECT_EQ(p->windowTitle(), "Plot Data/File ");
    EXPECT_FALSE(context.timers.paused());
    EXPECT_EQ(timers, QStringList({"off", "on"}));
    EXPECT_EQ(p->image(), expectedChart(records, QSize(392, 364)));
}

TEST_F(PlotTest, ClosingWhilePlottingResumesTheTimers) {
    RecordTableModel records;
    fill(records, kLongList);
    QPointer<ListPlot> p = openPlot(records);
    ASSERT_TRUE(p->plotting());
    p->close();
    EXPECT_FALSE(context.timers.paused());
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    settleDeletes();
    EXPECT_TRUE(p.isNull());
    EXPECT_EQ(timers, QStringList({"off", "on"}));
}

TEST_F(PlotTest, ResizingWhilePlottingPlotsAgainAtTheNewSize) {
    RecordTableModel records;
    fill(records, kLongList);
    ListPlot* p = openPlot(records);
    ASSERT_TRUE(p->plotting());
    p->resize(600, 500);
    finish(p);
    EXPECT_EQ(p->image().size(), QSize(600, 500));
    EXPECT_EQ(p->image(), expectedChart(records, QSize(600, 500)));
    EXPECT_EQ(timers, QStringList({"off", "on"}));
}

TEST_F(PlotTest, TooSmallSnapsBackInBothDirections) {
    RecordTableModel records;
    fill(records, 10);
    ListPlot* p = openPlot(records);
    p->resize(350, 500);
    EXPECT_EQ(p->size(), QSize(392, 364));
    p->resize(500, 300);
    EXPECT_EQ(p->size(), QSize(392, 364));
    p->resize(500, 400);
    EXPECT_EQ(p->size(), QSize(500, 400));
    EXPECT_EQ(p->image().size(), QSize(500, 400));
}

TEST_F(PlotTest, EmptyListShowsTheFrameAlone) {
    RecordTableModel records;
    ListPlot* p = openPlot(records);
    EXPECT_FALSE(p->plotting());
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_FALSE(context.timers.paused());
    EXPECT_EQ(p->image(), expectedChart(records, QSize(392, 364)));
    EXPECT_EQ(p->windowTitle(), "Plot Data/File ");
}

TEST_F(PlotTest, ListWithoutARangePlotsAgainstTheSmallestRangeHoldingIt) {
    RecordTableModel records;
    fill(records, 50); // values 1000 to 1900
    ListPlot* p = openPlot(records, QStringLiteral("notes.txt---no header here"));
    EXPECT_EQ(state.PlotTop, 2000);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(p->image(), expectedChart(records, QSize(392, 364)));
}

TEST_F(PlotTest, FailuresSayWhatFailedAndResumeTheTimers) {
    // An axis without height (no longer reachable from the list windows or the dialog).
    RecordTableModel records;
    fill(records, 10);
    preparePlot(kCaption, records, false, state);
    state.PlotTop = state.PlotBottom = 5;
    openListPlot(context, owner, &records);
    ASSERT_NE(plot(), nullptr);
    EXPECT_EQ(dialogs.messages(),
              QStringList({"The plot cannot be drawn: its value axis runs from 5 to 5."}));
    EXPECT_EQ(dialogs.shown.at(0).icon, Dialogs::Icon::Critical);
    EXPECT_FALSE(context.timers.paused());
    EXPECT_TRUE(plot()->isVisible());

    // The list closed before the plot needed its rows again.
    dialogs.shown.clear();
    auto list = std::make_unique<RecordTableModel>();
    fill(*list, 10);
    ListPlot* p = openPlot(*list);
    EXPECT_TRUE(dialogs.shown.empty());
    list.reset();
    p->resize(500, 400);
    EXPECT_EQ(dialogs.messages(),
              QStringList({"The plot cannot be drawn: its list has been closed."}));
    EXPECT_FALSE(context.timers.paused());
}

TEST_F(PlotTest, ListClosedWhilePlottingStopsThePlotWithAMessage) {
    auto list = std::make_unique<RecordTableModel>();
    fill(*list, kLongList);
    ListPlot* p = openPlot(*list);
    ASSERT_TRUE(p->plotting());
    list.reset();
    finish(p);
    EXPECT_EQ(dialogs.messages(), QStringList({"The plot stopped: its list has been closed."}));
    EXPECT_FALSE(context.timers.paused());
    EXPECT_EQ(p->windowTitle(), "Plot Data/File ");
}

TEST_F(PlotTest, LimitOpensThePlotRangeAtTheTopLeftCorner) {
    RecordTableModel records;
    fill(records, 100);
    ListPlot* p = openPlot(records);
    click(p, "Limit");
    PlotRange* dialog = range();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Plot Range ( LUX )");
    EXPECT_EQ(dialog->pos(), QPoint(0, 0));
    EXPECT_EQ(child<QLineEdit>(dialog, "TxtT1")->text(), "0");
    EXPECT_EQ(child<QLineEdit>(dialog, "TxtT2")->text(), "2000");
    EXPECT_EQ(child<QLineEdit>(dialog, "TxtR1")->text(), "1");
    EXPECT_EQ(child<QLineEdit>(dialog, "TxtR2")->text(), "100");
    click(p, "Limit");
    EXPECT_EQ(range(), dialog);

    // Typed keys and Enter.
    auto* t1 = child<QLineEdit>(dialog, "TxtT1");
    auto* t2 = child<QLineEdit>(dialog, "TxtT2");
    auto* r1 = child<QLineEdit>(dialog, "TxtR1");
    auto* r2 = child<QLineEdit>(dialog, "TxtR2");
    for (QLineEdit* box : {t1, r1})
        box->clear();
    for (const QChar c : QStringLiteral("-1.5x")) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(t1, &press);
        QApplication::sendEvent(r1, &press);
    }
    EXPECT_EQ(t1->text(), "-1.5");
    EXPECT_EQ(r1->text(), "15");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(t1, &enter);
    EXPECT_EQ(dialog->focusWidget(), t2);
    QApplication::sendEvent(t2, &enter);
    EXPECT_EQ(dialog->focusWidget(), r1);
    QApplication::sendEvent(r1, &enter);
    EXPECT_EQ(dialog->focusWidget(), r2);
    QApplication::sendEvent(r2, &enter); // OK: -1.5 is below the axis minimum
    EXPECT_EQ(dialogs.messages(), QStringList({"Invalid, 0 <= LUX <= 2000"}));
}

TEST_F(PlotTest, PlotRangeChecksAndReplotsTheChosenRecords) {
    RecordTableModel records;
    fill(records, 100);
    QPointer<ListPlot> first = openPlot(records);
    click(first, "Limit");
    auto enter = [&](const char* t1, const char* t2, const char* r1, const char* r2) {
        PlotRange* dialog = range();
        child<QLineEdit>(dialog, "TxtT1")->setText(QString::fromLatin1(t1));
        child<QLineEdit>(dialog, "TxtT2")->setText(QString::fromLatin1(t2));
        child<QLineEdit>(dialog, "TxtR1")->setText(QString::fromLatin1(r1));
        child<QLineEdit>(dialog, "TxtR2")->setText(QString::fromLatin1(r2));
        child<QPushButton>(dialog, "CmdOK")->click();
    };
    const struct {
        const char *t1, *t2, *r1, *r2, *message;
    } rejected[] = {
        {"0", "2500", "1", "100", "Invalid, 0 <= LUX <= 2000"},
        {"800", "800", "1", "100", "Invalid, 0 <= LUX <= 2000"},
        {"0", "2000", "20", "20", "Invalid, 0 <= Records <= 100"},
        {"0", "2000", "1", "101", "Invalid, 0 <= Records <= 100"},
    };
    for (const auto& c : rejected) {
        dialogs.shown.clear();
        enter(c.t1, c.t2, c.r1, c.r2);
        EXPECT_EQ(dialogs.messages(), QStringList({QString::fromLatin1(c.message)}));
        EXPECT_EQ(state.PlotTop, 2000);
        EXPECT_EQ(state.PlotFirst, 1);
        EXPECT_EQ(state.PlotLast, 100);
        EXPECT_NE(range(), nullptr);
        EXPECT_EQ(plot(), first.data());
    }
    dialogs.shown.clear();
    timers.clear();
    enter("1200", "1600", "10", "50");
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(range(), nullptr);
    ListPlot* second = plot();
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first.data());
    EXPECT_EQ(state.PlotBottom, 1200);
    EXPECT_EQ(state.PlotTop, 1600);
    EXPECT_EQ(state.PlotFirst, 10);
    EXPECT_EQ(state.PlotLast, 50);
    EXPECT_EQ(state.PlotCount, 41);
    EXPECT_EQ(second->image(), expectedChart(records, QSize(392, 364)));
    EXPECT_EQ(timers, QStringList({"off", "on"}));
}

TEST_F(PlotTest, PointerShowsTheNearestRecordOverTheChartNotInIt) {
    RecordTableModel records;
    fill(records, 100);
    ListPlot* p = openPlot(records);
    finish(p);
    const QImage chart = p->image();
    auto move = [p](QPointF at) {
        QMouseEvent event(QEvent::MouseMove, at, p->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(p, &event);
    };
    // Record 50 lies 49 steps right of the value axis.
    const ChartLayout& l = state.PlotLayout;
    move(QPointF(l.AxisX + 49 * state.PlotStep + 1, l.Baseline - 20));
    ASSERT_TRUE(p->readout());
    EXPECT_EQ(p->readout()->lines,
              QStringList({"No. 50", "22/06/2010 00:00:50", records.cell(50, 2) + " LUX"}));
    const QPoint mark = p->readout()->point.toPoint();
    EXPECT_EQ(p->grab().toImage().pixel(mark + QPoint(3, 0)), qRgb(200, 0, 0));
    EXPECT_EQ(p->image(), chart);

    move(QPointF(5, 5));
    EXPECT_FALSE(p->readout());
    move(QPointF(l.AxisX + 1, l.Baseline - 20));
    ASSERT_TRUE(p->readout());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(p, &leave);
    EXPECT_FALSE(p->readout());
    EXPECT_EQ(p->grab().toImage().pixel(mark + QPoint(3, 0)), chart.pixel(mark + QPoint(3, 0)));
}

namespace {

void wheel(QWidget* w, QPointF at, int notches) {
    QWheelEvent event(at, w->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &event);
}

void mouse(QWidget* w, QEvent::Type type, QPointF at, Qt::KeyboardModifiers modifiers = {}) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, w->mapToGlobal(at), button, held, modifiers);
    QApplication::sendEvent(w, &event);
}

void key(QWidget* w, int code) {
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

} // namespace

// The wheel zooms around the pointer, a drag pans, Shift and a drag zooms into a span, the keys
// zoom around the middle and Home shows everything again; the caption says which records are
// shown, and the readout names the record under the pointer at every zoom.
TEST_F(PlotTest, WheelDragAndKeysExploreTheRecords) {
    RecordTableModel records;
    fill(records, 1000);
    ListPlot* p = openPlot(records);
    finish(p);
    const ChartLayout& l = state.PlotLayout;
    const double middle = l.Baseline - l.PlotHeight / 2;
    const auto recordAt = [&](double x) {
        return std::llround(state.PlotFirst + (x - l.AxisX) / state.PlotStep);
    };

    const double anchorX = l.AxisX + l.PlotWidth / 4;
    const long long anchored = recordAt(anchorX);
    wheel(p, QPointF(anchorX, middle), 2);
    finish(p);
    EXPECT_NEAR(state.PlotCount, 1000 / 1.5625, 2);
    EXPECT_LE(std::abs(recordAt(anchorX) - anchored), 1) << "the record under the pointer stays";
    EXPECT_EQ(p->windowTitle().toStdString(),
              QStringLiteral("Plot Data/File - records %1 to %2 of 1000")
                  .arg(std::llround(state.PlotFirst))
                  .arg(std::llround(state.PlotLast))
                  .toStdString());
    const QPointF over(l.AxisX + 40 * state.PlotStep, middle);
    mouse(p, QEvent::MouseMove, over);
    ASSERT_TRUE(p->readout());
    EXPECT_EQ(p->readout()->lines.value(0), QStringLiteral("No. %1").arg(recordAt(over.x())));

    // A drag to the left brings later records in; the span stays.
    const double first = state.PlotFirst;
    const double count = state.PlotCount;
    mouse(p, QEvent::MouseButtonPress, QPointF(l.AxisX + 200, middle));
    mouse(p, QEvent::MouseMove, QPointF(l.AxisX + 100, middle));
    mouse(p, QEvent::MouseButtonRelease, QPointF(l.AxisX + 100, middle));
    finish(p);
    EXPECT_NEAR(state.PlotFirst - first, 100 / (l.PlotWidth / count), 2);
    EXPECT_NEAR(state.PlotCount, count, 1);

    // Shift and a drag: the span between press and release fills the plot.
    const long long from = recordAt(l.AxisX + 50);
    const long long to = recordAt(l.AxisX + 150);
    mouse(p, QEvent::MouseButtonPress, QPointF(l.AxisX + 50, middle), Qt::ShiftModifier);
    mouse(p, QEvent::MouseMove, QPointF(l.AxisX + 150, middle), Qt::ShiftModifier);
    mouse(p, QEvent::MouseButtonRelease, QPointF(l.AxisX + 150, middle), Qt::ShiftModifier);
    finish(p);
    EXPECT_NEAR(state.PlotFirst, from, 1);
    EXPECT_NEAR(state.PlotLast, to, 1);

    const double narrow = state.PlotCount;
    key(p, Qt::Key_Minus);
    finish(p);
    EXPECT_NEAR(state.PlotCount, narrow * 1.25, 2);
    key(p, Qt::Key_Plus);
    finish(p);
    EXPECT_NEAR(state.PlotCount, narrow, 2);
    key(p, Qt::Key_Home);
    finish(p);
    EXPECT_EQ(state.PlotFirst, 1);
    EXPECT_EQ(state.PlotLast, 1000);
    EXPECT_EQ(p->windowTitle(), "Plot Data/File ");
    // Zoomed again, a double click shows everything too, and the picture is the plot's own.
    wheel(p, QPointF(anchorX, middle), 3);
    finish(p);
    mouse(p, QEvent::MouseButtonDblClick, QPointF(anchorX, middle));
    finish(p);
    EXPECT_EQ(state.PlotCount, 1000);
    EXPECT_EQ(p->image(), expectedChart(records, p->size()));
}

// "Statistics" shows the figures of the records in view beside the plot, follows every zoom,
// reads each value as its text with its caption as description, and comes up again when its
// window is closed.
TEST_F(PlotTest, StatisticsShowTheFiguresOfTheRecordsInView) {
    RecordTableModel records;
    fill(records, 600);
    ListPlot* p = openPlot(records);
    finish(p);
    auto* button = p->findChild<QAction*>(QStringLiteral("Statistics"));
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isCheckable());
    button->trigger();
    auto* panel = owner.open<SpanStatisticsWindow>(QStringLiteral("PlotStatistics"));
    ASSERT_NE(panel, nullptr);
    const auto shown = [&] {
        QStringList texts;
        for (int i = 0; i < 11; ++i) {
            auto* value = panel->findChild<QLabel*>(QStringLiteral("LblSpan%1").arg(i));
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(value);
            EXPECT_EQ(face->text(QAccessible::Name), value->text());
            texts << face->text(QAccessible::Description) + u'=' + value->text();
        }
        return texts;
    };
    const auto expected = [&] {
        QStringList texts;
        const SpanStatistics figures =
            spanStatistics(records, std::llround(state.PlotFirst) - 1,
                           std::llround(state.PlotLast) - 1, 1, QStringLiteral("LUX"));
        for (const CaptionedText& line : spanStatisticsTexts(figures))
            texts << line.caption + u'=' + line.text;
        return texts;
    };
    EXPECT_EQ(shown(), expected());
    EXPECT_TRUE(shown().contains("Records=600")) << shown().join(u' ').toStdString();

    key(p, Qt::Key_Plus);
    finish(p);
    EXPECT_EQ(shown(), expected());
    EXPECT_FALSE(shown().contains("Records=600"));

    panel->close();
    settleDeletes();
    EXPECT_FALSE(button->isChecked());
    button->trigger();
    EXPECT_NE(owner.open(QStringLiteral("PlotStatistics")), nullptr);
    button->trigger();
    settleDeletes();
    EXPECT_EQ(owner.open(QStringLiteral("PlotStatistics")), nullptr);
}

// "Time Axis" puts each record at its time: a silence of the meter leaves a break the width of
// its time, the pointer finds records by their times, the wheel zooms about the pointer's time,
// and switched off the records are evenly spread again.
TEST_F(PlotTest, TimeAxisPutsRecordsAtTheirTimes) {
    RecordTableModel records;
    QStringList rows;
    // 22/06/2010 from 00:00:01, a reading a second, the meter silent for 10 minutes after
    // record 300.
    for (int n = 1; n <= 600; ++n) {
        const int s = n + (n > 300 ? 600 : 0);
        rows << QStringLiteral("%1\t22/06/2010 00:%2:%3\t%4\t")
                    .arg(n)
                    .arg(s / 60, 2, 10, QLatin1Char('0'))
                    .arg(s % 60, 2, 10, QLatin1Char('0'))
                    .arg(1000 + (n * 37) % 900);
    }
    records.appendRows(rows);
    ListPlot* p = openPlot(records);
    finish(p);
    auto* button = p->findChild<QAction*>(QStringLiteral("TimeAxis"));
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isCheckable());
    button->trigger();
    finish(p);
    ASSERT_TRUE(state.PlotTimeAxis);
    EXPECT_EQ(state.PlotInterval, 1);
    EXPECT_EQ(state.PlotTimeTo - state.PlotTimeFrom, 1199);
    const ChartLayout& l = state.PlotLayout;
    const double perSecond = l.PlotWidth / 1199;
    const double middle = l.Baseline - l.PlotHeight / 2;
    const auto traced = [&](double second) {
        const int x = static_cast<int>(l.AxisX + (second - 1) * perSecond);
        return !rowsIn(p->image(), x, static_cast<int>(l.Baseline - l.PlotHeight),
                       static_cast<int>(l.Baseline) - 1, qRgb(0, 0, 0))
                    .empty();
    };
    EXPECT_TRUE(traced(150));
    EXPECT_FALSE(traced(600)) << "the silence is a break";
    EXPECT_TRUE(traced(1050));

    // Over the second 1000 the readout shows record 400.
    mouse(p, QEvent::MouseMove, QPointF(l.AxisX + 999 * perSecond, middle));
    ASSERT_TRUE(p->readout());
    EXPECT_EQ(p->readout()->lines.value(0), "No. 400");

    // Two notches there: a span 1.5625 times narrower, the second under the pointer kept.
    wheel(p, QPointF(l.AxisX + 999 * perSecond, middle), 2);
    finish(p);
    EXPECT_NEAR(state.PlotTimeTo - state.PlotTimeFrom, 1199 / 1.5625, 1);
    const double underPointer = state.PlotTimeFrom + 999 * perSecond / l.PlotWidth *
                                                         (state.PlotTimeTo - state.PlotTimeFrom);
    EXPECT_NEAR(underPointer, 1277164800 + 1000, 1); // 22/06/2010 00:16:40
    EXPECT_TRUE(p->windowTitle().startsWith("Plot Data/File - records "))
        << p->windowTitle().toStdString();

    button->trigger();
    finish(p);
    EXPECT_FALSE(state.PlotTimeAxis);
    key(p, Qt::Key_Home);
    finish(p);
    EXPECT_EQ(state.PlotCount, 600);
    EXPECT_EQ(p->image(), expectedChart(records, p->size()));
}

// Save Picture asks for the size and writes the records shown, drawn afresh at it; a size that is
// none is refused with a message and writes nothing.
TEST_F(PlotTest, SavePictureWritesTheTypedSize) {
    RecordTableModel records;
    fill(records, 300);
    ListPlot* p = openPlot(records);
    finish(p);
    QTemporaryDir dir;
    dialogs.inputAnswers = {QStringLiteral("1600 x 1000"), QStringLiteral("big")};
    dialogs.saveAnswers = {dir.filePath("plot.png")};
    click(p, "SavePicture");
    EXPECT_EQ(QImage(dir.filePath("plot.png")).size(), QSize(1600, 1000));
    click(p, "SavePicture");
    EXPECT_EQ(dialogs.messages(), QStringList({"Invalid size, try again!"}));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"plot.png"}));
}
