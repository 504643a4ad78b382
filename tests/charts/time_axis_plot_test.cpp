#include "charts/ChartDrawing.h"
#include "charts/ChartScale.h"
#include "charts/PlotExplorer.h"
#include "charts/PlotTimes.h"
#include "charts/PlotValues.h"
#include "charts/RecordPlot.h"
#include "charts/TimeAxis.h"
#include "common/SharedState.h"
#include "records/RecordTableModel.h"
#include "support/Pixels.h"

#include <QImage>
#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>
#include <random>

namespace {

// 22/06/2010 10:00:00 on the plain calendar.
constexpr double kTenOClock = 1277200800;

QString textOf(double seconds) {
    return shownTimeText(seconds);
}

// A list of readings at the given times (seconds after kTenOClock; NaN: a garbled time cell).
void fillAt(RecordTableModel& grid, const std::vector<double>& offsets, unsigned seed = 1) {
    std::mt19937 random(seed);
    std::normal_distribution<double> drift(0, 80);
    double v = 1000;
    QStringList rows;
    int n = 0;
    for (const double offset : offsets) {
        ++n;
        v = std::clamp(v + drift(random), -150.0, 2150.0);
        const QString value = n % 41 == 0 ? QStringLiteral("OL") : QString::number(v, 'f', 1);
        const QString time =
            std::isnan(offset) ? QStringLiteral("garbled") : textOf(kTenOClock + offset);
        rows << QString::number(n) + u'\t' + time + u'\t' + value + u'\t';
    }
    grid.appendRows(rows);
}

// One reading a second from 10:00:00, with the meter silent over the stretches given.
std::vector<double> secondsWithGaps(int count, std::vector<std::pair<int, int>> gaps = {}) {
    std::vector<double> offsets;
    double t = 0;
    for (int n = 0; n < count; ++n) {
        for (const auto& [at, seconds] : gaps) {
            if (n == at)
                t += seconds;
        }
        offsets.push_back(t++);
    }
    return offsets;
}

QFont axisFont() {
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(8);
    return f;
}

struct TimePlot {
    TimePlot(QSize size, const RecordTableModel& grid, double from, double to)
        : image(size, QImage::Format_RGB32)
        , times(grid) {
        image.setDotsPerMeterX(3780);
        image.setDotsPerMeterY(3780);
        image.fill(Qt::white);
        s.PlotLayout = ComputeChartLayout(size.width(), size.height());
        s.PlotTop = 2000;
        s.GridColour = 7;
        s.PlotTimeAxis = true;
        s.PlotInterval = 1;
        s.PlotTimeFrom = kTenOClock + from;
        s.PlotTimeTo = kTenOClock + to;
        // The records on the axis and one either side, as the explorer chooses them.
        const long long n = times.size();
        const long long in = times.firstReaching(s.PlotTimeFrom, 0, n);
        const long long out = times.firstPast(s.PlotTimeTo, 0, n);
        s.PlotFirst = static_cast<double>(std::max(0LL, in - 1) + 1);
        s.PlotLast = static_cast<double>(std::min(n - 1, out) + 1);
        s.PlotCount = s.PlotLast - s.PlotFirst + 1;
        s.PlotStep = s.PlotLayout.PlotWidth / s.PlotCount;
        QPainter p(&image);
        p.setFont(axisFont());
        DrawChartFrame(p, s.PlotLayout, 0, 2000, QStringLiteral("LUX"));
    }
    QImage image;
    PlotTimes times;
    SharedState s;
};

// Every segment on its own, the trace broken where the step between two readable times is
// longer than two seconds or goes back, a record alone drawn as a dot; then the grid and the
// labels at round times.
QImage segmentBySegment(QSize size, const RecordTableModel& grid, double from, double to) {
    TimePlot plot(size, grid, from, to);
    const SharedState& s = plot.s;
    const ChartLayout& l = s.PlotLayout;
    QPainter p(&plot.image);
    p.setFont(axisFont());
    const double perSecond = l.PlotWidth / (s.PlotTimeTo - s.PlotTimeFrom);
    std::vector<std::pair<double, QPointF>> points; // NaN time: no point
    for (auto row = static_cast<int>(s.PlotFirst); row <= static_cast<int>(s.PlotLast); ++row) {
        const auto t = shownTimeSeconds(grid.cell(row, 1));
        if (!t) {
            points.emplace_back(NAN, QPointF());
            continue;
        }
        const double h = *ValueHeight(grid.cell(row, 2), 0, 2000, l.PlotHeight);
        points.emplace_back(*t,
                            QPointF(l.AxisX + (*t - s.PlotTimeFrom) * perSecond, l.Baseline - h));
    }
    const auto joins = [&](size_t i) {
        return i > 0 && !std::isnan(points[i - 1].first) && !std::isnan(points[i].first) &&
               points[i].first >= points[i - 1].first && points[i].first - points[i - 1].first <= 2;
    };
    p.save();
    const double left = std::floor(l.AxisX);
    p.setClipRect(QRectF(left, -1e6, std::floor(l.AxisX + l.PlotWidth) - left + 1, 2e6));
    for (size_t i = 0; i < points.size(); ++i) {
        if (std::isnan(points[i].first))
            continue;
        if (joins(i))
            drawSegment(p, points[i - 1].second, points[i].second, Qt::black);
        else if (!(i + 1 < points.size() && joins(i + 1)))
            drawSegment(p, points[i].second, points[i].second, Qt::black);
    }
    p.restore();
    DrawChartGrid(p, l, paletteColour(7));
    // Labels may stand out past the axis's ends into the margins, short of the picture's edges.
    const TimeAxisLabels labels = timeAxisLabels(
        s.PlotTimeFrom, s.PlotTimeTo, l.AxisX, l.PlotWidth,
        [&p](const QString& text) { return textWidth(p, text); }, 6, l.AxisX - 2,
        std::max<double>(0, plot.image.width() - (l.AxisX + l.PlotWidth) - 2));
    for (const TimeLabel& label : labels.labels) {
        DrawTimeGridLine(p, l, label.x - l.AxisX, paletteColour(7));
        drawTextAt(p, {label.x - textWidth(p, label.text) / 2, l.Baseline + 10}, label.text);
    }
    return plot.image;
}

QImage onTimesInBulk(QSize size, const RecordTableModel& grid, double from, double to,
                     long long slice) {
    TimePlot plot(size, grid, from, to);
    QPainter p(&plot.image);
    p.setFont(axisFont());
    PlotValues values;
    RecordPlotter plotter(grid, values, plot.s, &plot.times);
    EXPECT_FALSE(plotter.problem());
    while (!plotter.finished())
        plotter.plotNext(p, slice);
    return plot.image;
}

int pixelsApart(const QImage& a, const QImage& b) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    }
    return n;
}

// The groups of dark columns in the band of the time labels, apart by `gap` pixels or more:
// [first, last] columns of each.
std::vector<std::pair<int, int>> labelGroups(const QImage& image, const ChartLayout& l, int gap) {
    std::vector<std::pair<int, int>> groups;
    const QRect band(0, static_cast<int>(l.Baseline) + 11, image.width(), 12);
    int last = -1000;
    for (int x = 0; x < image.width(); ++x) {
        if (!anyDark(image, QRect(x, band.top(), 1, band.height())))
            continue;
        if (x - last > gap)
            groups.emplace_back(x, x);
        groups.back().second = x;
        last = x;
    }
    return groups;
}

} // namespace

TEST(PlotTimes, SearchesOverTheTimesReached) {
    RecordTableModel list;
    // 0, 1, 2, a garbled time, 10 (after a gap), the clock set back to 5, 6, then 11.
    // The search runs over the latest time reached: records behind a clock set back are found
    // only where that time is.
    fillAt(list, {0, 1, 2, NAN, 10, 5, 6, 11});
    const PlotTimes times(list);
    ASSERT_EQ(times.size(), 8);
    EXPECT_TRUE(times.anyReadable());
    const struct {
        double t;
        long long reaching, past, nearest;
    } cases[] = {
        {-5, 0, 0, 0}, {0, 0, 1, 0},  {1.4, 2, 2, 1},  {2, 2, 4, 2},  {3, 4, 4, 2},
        {7, 4, 4, 4},  {10, 4, 7, 4}, {10.6, 7, 7, 7}, {11, 7, 8, 7}, {99, 8, 8, 7},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(times.firstReaching(kTenOClock + c.t, 0, 8), c.reaching) << c.t;
        EXPECT_EQ(times.firstPast(kTenOClock + c.t, 0, 8), c.past) << c.t;
        EXPECT_EQ(times.nearest(kTenOClock + c.t, 0, 7), c.nearest) << c.t;
    }
    EXPECT_EQ(times.firstTime(3, 7), kTenOClock + 10);
    EXPECT_EQ(times.latestTime(0, 6), kTenOClock + 10);
    EXPECT_EQ(times.latestTime(5, 6), kTenOClock + 6);
    EXPECT_TRUE(std::isnan(times.firstTime(3, 3)));
    EXPECT_EQ(times.nearest(kTenOClock, 3, 3), -1);

    // Each cell reads as shownTimeSeconds reads it, after another of the same day too.
    RecordTableModel sameDay;
    const QStringList cells = {
        "22/06/2010 10:00:00", "22/06/2010 23:59:59",   "22/06/2010 24:00:00",
        "22/06/2010 23:60:00", "22/06/2010 10:00:60",   "22/06/2010 1a:00:00",
        "22/06/2010 10-00:00", " 22/06/2010 10:00:01 ", "22/06/2010 10:00",
        "23/06/2010 00:00:00", "22/06/2010 00:00:00",   "31/02/2010 10:00:00"};
    QStringList rows;
    for (const QString& cell : cells)
        rows << QStringLiteral("1\t%1\t5\t").arg(cell);
    sameDay.appendRows(rows);
    const PlotTimes read(sameDay);
    ASSERT_EQ(read.size(), cells.size());
    for (int i = 0; i < cells.size(); ++i) {
        const double expected = shownTimeSeconds(cells[i]).value_or(NAN);
        EXPECT_TRUE(read.at(i) == expected || (std::isnan(expected) && std::isnan(read.at(i))))
            << cells[i].toStdString();
    }

    // Growing lists are read on from where they were; a shorter one is another list.
    RecordTableModel growing;
    fillAt(growing, {0, 1});
    PlotTimes kept(growing);
    fillAt(growing, {2});
    kept.update(growing);
    ASSERT_EQ(kept.size(), 3);
    EXPECT_EQ(kept.at(2), kTenOClock + 2);
    RecordTableModel other;
    fillAt(other, {NAN});
    kept.update(other);
    EXPECT_EQ(kept.size(), 1);
    EXPECT_FALSE(kept.anyReadable());
}

// On the clock-time axis the view is a span of time: the records in it and one either side.
TEST(PlotExplorer, OnTheTimeAxisTheViewIsASpanOfTime) {
    RecordTableModel list;
    // 100 readings a second apart, the meter silent for 600 s before the 51st.
    fillAt(list, secondsWithGaps(100, {{50, 600}}));
    const PlotTimes times(list);
    SharedState s;
    s.PlotFirst = 1;
    s.PlotLast = 100;
    s.PlotCount = 100;
    s.PlotLayout.AxisX = 60;
    s.PlotLayout.PlotWidth = 700;
    s.PlotStep = 7;
    PlotExplorer explorer;
    explorer.follow(s);
    ASSERT_TRUE(explorer.setTimeAxis(true, times, s, 1));
    EXPECT_TRUE(s.PlotTimeAxis);
    EXPECT_EQ(s.PlotInterval, 1);
    EXPECT_EQ(s.PlotTimeFrom, kTenOClock);
    EXPECT_EQ(s.PlotTimeTo, kTenOClock + 699);
    EXPECT_EQ(explorer.zoom().count(), 700);
    EXPECT_DOUBLE_EQ(explorer.positionAt(s, 60 + 350), 349.5);

    // Seconds 40 to 60: records 41 to 50 in view, 40 and 51 lead the trace to the edges.
    explorer.zoom().select(40, 60);
    ASSERT_TRUE(explorer.show(s));
    EXPECT_EQ(s.PlotTimeFrom, kTenOClock + 40);
    EXPECT_EQ(s.PlotTimeTo, kTenOClock + 60);
    EXPECT_EQ(s.PlotFirst, 40);
    EXPECT_EQ(s.PlotLast, 51);
    EXPECT_TRUE(s.PlotZoomed);
    EXPECT_EQ(explorer.caption("Plot Data/File ", s), "Plot Data/File - records 41 to 50 of 100");
    EXPECT_EQ(explorer.statistics(list, s).records, 10);

    // Inside the silence: nothing in view, the records about it drawn.
    explorer.zoom().select(100, 300);
    ASSERT_TRUE(explorer.show(s));
    EXPECT_EQ(s.PlotFirst, 50);
    EXPECT_EQ(s.PlotLast, 51);
    EXPECT_EQ(explorer.caption("Plot Data/File ", s),
              "Plot Data/File - none of 100 records in view");
    EXPECT_EQ(explorer.statistics(list, s).records, 0);

    // Back to records evenly spread: about the same stretch of the list.
    explorer.zoom().select(645, 660);
    ASSERT_TRUE(explorer.show(s));
    ASSERT_TRUE(explorer.setTimeAxis(false, times, s, 1));
    EXPECT_FALSE(s.PlotTimeAxis);
    EXPECT_EQ(explorer.zoom().count(), 100);
    EXPECT_EQ(s.PlotFirst, 51);
    EXPECT_EQ(s.PlotLast, 61);

    // A list without a readable time stays evenly spread.
    RecordTableModel garbled;
    fillAt(garbled, {NAN, NAN});
    const PlotTimes none(garbled);
    PlotExplorer other;
    other.follow(s);
    EXPECT_FALSE(other.setTimeAxis(true, none, s, 0));
    EXPECT_FALSE(s.PlotTimeAxis);
}

// Pixel for pixel the drawing of every segment on its own, with gaps, unreadable times, a clock
// set back and lone records, at every zoom.
TEST(TimeAxisPlot, BulkDrawingGivesTheSegmentBySegmentPicture) {
    std::vector<double> offsets = secondsWithGaps(3000, {{700, 40}, {1500, 3}, {2000, 600}});
    offsets[900] = NAN;
    offsets[1200] = offsets[1199] - 30; // the clock set back for a moment
    offsets[2500] = offsets[2499] + 10; // a lone record between two breaks
    offsets[2501] = offsets[2500] + 10;
    RecordTableModel grid;
    fillAt(grid, offsets);
    const double end = offsets.back();
    const struct {
        double from, to;
    } spans[] = {{0, end}, {0, 1000}, {650, 800}, {2590, 2700}, {3000, 3100}, {100, 130}};
    for (const QSize size : {QSize(392, 364), QSize(1013, 707)}) {
        for (const auto& c : spans) {
            SCOPED_TRACE(testing::Message() << c.from << ".." << c.to << " at " << size.width());
            const QImage expected = segmentBySegment(size, grid, c.from, c.to);
            EXPECT_EQ(pixelsApart(expected, onTimesInBulk(size, grid, c.from, c.to, 1 << 20)), 0);
            EXPECT_EQ(pixelsApart(expected, onTimesInBulk(size, grid, c.from, c.to, 7)), 0)
                << "slices of 7";
        }
    }
}

// A silence longer than twice the sampling interval leaves the plot area empty between its
// ends; a shorter one is bridged.
TEST(TimeAxisPlot, GapsShowAsBreaks) {
    RecordTableModel grid;
    fillAt(grid, secondsWithGaps(200, {{100, 300}, {150, 1}}));
    const QImage image = onTimesInBulk(QSize(800, 400), grid, 0, 499, 1 << 20);
    const TimePlot plot(QSize(800, 400), grid, 0, 499);
    const ChartLayout& l = plot.s.PlotLayout;
    const double perSecond = l.PlotWidth / 499;
    const auto traced = [&](double seconds) {
        const int x = static_cast<int>(l.AxisX + seconds * perSecond);
        return !rowsIn(image, x, static_cast<int>(l.Baseline - l.PlotHeight),
                       static_cast<int>(l.Baseline) - 1, qRgb(0, 0, 0))
                    .empty();
    };
    // Records 101 to 150 at 400 to 449 s, 151 to 200 from 451 s: the two seconds are bridged.
    for (const double t : {50.0, 420.0, 450.5, 480.0})
        EXPECT_TRUE(traced(t)) << t;
    for (const double t : {120.0, 250.0, 355.0})
        EXPECT_FALSE(traced(t)) << t;
}

// However narrow the view, no two time labels overlap and none leaves the picture; so on the
// records' own axis when zoomed, where a label that would meet the one before is left out.
TEST(TimeAxisPlot, TimeLabelsNeverOverlap) {
    RecordTableModel grid;
    fillAt(grid, secondsWithGaps(400));
    QImage one(100, 40, QImage::Format_RGB32);
    QPainter measure(&one);
    measure.setFont(axisFont());
    const int labelWidth =
        static_cast<int>(std::ceil(textWidth(measure, QStringLiteral("00:00:00"))));
    measure.end();
    for (const QSize size : {QSize(392, 364), QSize(700, 364)}) {
        for (int count = 2; count <= 60; ++count) {
            SCOPED_TRACE(testing::Message() << count << " at " << size.width());
            for (const bool onTimes : {false, true}) {
                TimePlot plot(size, grid, 100, 100 + count - 1);
                SharedState& s = plot.s;
                s.PlotTimeAxis = onTimes;
                s.PlotZoomed = true;
                if (!onTimes) {
                    s.PlotFirst = 101;
                    s.PlotLast = 100 + count;
                    s.PlotCount = count;
                    s.PlotStep = s.PlotLayout.PlotWidth / s.PlotCount;
                }
                QPainter p(&plot.image);
                p.setFont(axisFont());
                RecordPlotter plotter(grid, s, &plot.times);
                while (!plotter.finished())
                    plotter.plotNext(p, 1 << 20);
                p.end();
                const auto groups = labelGroups(plot.image, s.PlotLayout, 4);
                EXPECT_FALSE(groups.empty());
                for (const auto& [first, last] : groups) {
                    EXPECT_LE(last - first + 1, labelWidth) << onTimes << ": " << first;
                    EXPECT_GE(first, 1);
                    EXPECT_LE(last, size.width() - 2);
                }
            }
        }
    }
}
