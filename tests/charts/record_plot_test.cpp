#include "charts/ChartDrawing.h"
#include "charts/ChartScale.h"
#include "charts/PlotValues.h"
#include "charts/RecordPlot.h"
#include "common/NumberText.h"
#include "common/SharedState.h"
#include "records/RecordTableModel.h"

#include <QImage>
#include <QPainter>
#include <bit>
#include <cmath>
#include <gtest/gtest.h>
#include <random>

namespace {

// q(j, d) of the marks: (j x count rounded) divided by d without remainder.
long long q(int j, int d, long long count) {
    return j * count / d;
}

// The plot as the record-by-record drawing makes it: for every record the whole grid, then the
// segment from the previous point, then the record's mark.
// With `gridEachRecord` false the grid is drawn only before the last record: it covers the
// same segments and marks as the grids of the records before, at a cost long lists can bear.
void referencePlot(QPainter& p, const RecordTableModel& grid, const SharedState& s,
                   bool gridEachRecord = true) {
    const ChartLayout& l = s.PlotLayout;
    const QColor gridColour = paletteColour(s.GridColour);
    const auto first = static_cast<long long>(s.PlotFirst);
    const auto last = static_cast<long long>(s.PlotLast);
    const long long n = last - first + 1;
    double plotX = -s.PlotStep;
    double prevX = 0;
    double prevY = 0;
    for (long long r = first; r <= last; ++r) {
        plotX += s.PlotStep;
        if (gridEachRecord || r == last)
            DrawChartGrid(p, l, gridColour);
        const double h =
            *ValueHeight(grid.cell(static_cast<int>(r), 2), s.PlotBottom, s.PlotTop, l.PlotHeight);
        if (prevX != 0 && plotX != 0)
            drawSegment(p, {prevX, prevY}, {l.AxisX + plotX, l.Baseline - h}, Qt::black);
        prevY = l.Baseline - h;
        prevX = l.AxisX + plotX;
        const long long k = r - first + 1;
        if (k == 1 || k == q(1, 4, n) || k == q(2, 4, n) || k == q(3, 4, n) || k == q(4, 4, n)) {
            DrawTimeGridLine(p, l, plotX, gridColour);
            const QString time = grid.cell(static_cast<int>(r), 1).right(8);
            double x0 = l.AxisX + plotX - textWidth(p, time) / 2;
            if (r == first)
                x0 -= 10;
            if (r == last)
                x0 -= 10;
            drawTextAt(p, {x0, l.Baseline + 10}, time);
        } else {
            for (int j = 1; j <= 8; ++j) {
                if (k == q(j, 8, n)) {
                    DrawMidTick(p, l, plotX, gridColour);
                    break;
                }
            }
        }
    }
}

QString timeOf(int n) {
    const int s = 14 * 3600 + n * 7;
    return QStringLiteral("22/06/2010 %1:%2:%3")
        .arg(s / 3600 % 24, 2, 10, QLatin1Char('0'))
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

// A list of readings drifting over the axis, with the meter's texts, values beyond the limits
// and decimal commas among them.
void fill(RecordTableModel& grid, int count, unsigned seed) {
    std::mt19937 random(seed);
    std::normal_distribution<double> drift(0, 60);
    double v = 1000;
    QStringList rows;
    for (int n = 1; n <= count; ++n) {
        v = std::clamp(v + drift(random), -150.0, 2150.0);
        QString value = QString::number(v, 'f', n % 3);
        if (n % 17 == 0)
            value = QStringLiteral("OL");
        else if (n % 23 == 0)
            value = QStringLiteral("----");
        else if (n % 29 == 0)
            value = QStringLiteral("-OL");
        else if (n % 31 == 0)
            value.replace(u'.', u',');
        rows << QString::number(n) + u'\t' + timeOf(n) + u'\t' + value + u'\t';
    }
    grid.appendRows(rows);
}

struct Plot {
    Plot(QSize size, const RecordTableModel& grid, double first, double last, double bottom = 0,
         double top = 2000)
        : image(size, QImage::Format_RGB32) {
        image.setDotsPerMeterX(3780);
        image.setDotsPerMeterY(3780);
        image.fill(Qt::white);
        s.PlotLayout = ComputeChartLayout(size.width(), size.height());
        s.PlotFirst = first;
        s.PlotLast = last;
        s.PlotCount = last - first + 1;
        s.PlotStep = s.PlotLayout.PlotWidth / s.PlotCount;
        s.PlotBottom = bottom;
        s.PlotTop = top;
        s.GridColour = 7;
        QPainter p(&image);
        p.setFont(font());
        DrawChartFrame(p, s.PlotLayout, bottom, top, QStringLiteral("LUX"));
        (void)grid;
    }
    static QFont font() {
        QFont f(QStringLiteral("Arial"));
        f.setPointSize(8);
        return f;
    }
    QImage image;
    SharedState s;
};

QImage byReference(QSize size, const RecordTableModel& grid, double first, double last,
                   double bottom = 0, double top = 2000, bool gridEachRecord = true) {
    Plot plot(size, grid, first, last, bottom, top);
    QPainter p(&plot.image);
    p.setFont(Plot::font());
    referencePlot(p, grid, plot.s, gridEachRecord);
    return plot.image;
}

QImage inBulk(QSize size, const RecordTableModel& grid, double first, double last, long long slice,
              double bottom = 0, double top = 2000) {
    Plot plot(size, grid, first, last, bottom, top);
    QPainter p(&plot.image);
    p.setFont(Plot::font());
    RecordPlotter plotter(grid, plot.s);
    EXPECT_FALSE(plotter.problem());
    while (!plotter.finished())
        plotter.plotNext(p, slice);
    return plot.image;
}

// The same with the list's values kept from an earlier plot.
QImage fromKeptValues(QSize size, const RecordTableModel& grid, PlotValues& values, double first,
                      double last, long long slice, double bottom = 0, double top = 2000) {
    Plot plot(size, grid, first, last, bottom, top);
    QPainter p(&plot.image);
    p.setFont(Plot::font());
    RecordPlotter plotter(grid, values, plot.s);
    EXPECT_FALSE(plotter.problem());
    while (!plotter.finished())
        plotter.plotNext(p, slice);
    return plot.image;
}

int differingPixels(const QImage& a, const QImage& b) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    }
    return n;
}

} // namespace

TEST(RecordPlot, MarkPositions) {
    const struct {
        double count;
        std::vector<long long> times, mids;
    } cases[] = {
        {100, {1, 25, 50, 75, 100}, {12, 37, 62, 87}},
        {3, {1, 2, 3}, {}},
        {2, {1, 2}, {}},
        {1, {1}, {}},
        {8, {1, 2, 4, 6, 8}, {3, 5, 7}},
        {86400, {1, 21600, 43200, 64800, 86400}, {10800, 32400, 54000, 75600}},
    };
    for (const auto& c : cases) {
        std::vector<long long> times, mids;
        for (long long k = 1; k <= static_cast<long long>(c.count); ++k) {
            const PlotMark mark = plotMarkAt(k, c.count);
            if (mark == PlotMark::Time)
                times.push_back(k);
            else if (mark == PlotMark::Mid)
                mids.push_back(k);
        }
        EXPECT_EQ(times, c.times) << c.count;
        EXPECT_EQ(mids, c.mids) << c.count;
    }
}

TEST(RecordPlot, LabelsOfTheFirstAndLastRecordsMoveLeft) {
    auto leftmostLabelPixel = [](bool first, bool last) {
        QImage image(392, 364, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        p.setFont(Plot::font());
        drawPlotTimeMark(p, ComputeChartLayout(392, 364), 100, u"22/06/2010 14:05:09", first, last,
                         paletteColour(7));
        p.end();
        for (int x = 0; x < image.width(); ++x) {
            for (int y = 347; y < 364; ++y) {
                if (qGray(image.pixel(x, y)) < 128)
                    return x;
            }
        }
        return -1;
    };
    const int centred = leftmostLabelPixel(false, false);
    EXPECT_GT(centred, 130);
    EXPECT_LT(centred, 160); // a 14:05:09 label is about 40 pixels wide, around x = 160
    EXPECT_EQ(leftmostLabelPixel(true, false), centred - 10);
    EXPECT_EQ(leftmostLabelPixel(false, true), centred - 10);
    EXPECT_EQ(leftmostLabelPixel(true, true), centred - 20);
}

// The bulk drawing gives the record-by-record picture pixel for pixel.
TEST(RecordPlot, BulkDrawingGivesTheRecordByRecordPicture) {
    const struct {
        int records;
        double first, last;
        double bottom, top;
    } cases[] = {
        {1, 1, 1, 0, 2000},         {2, 1, 2, 0, 2000},       {3, 1, 3, 0, 2000},
        {100, 1, 100, 0, 2000},     {1000, 1, 1000, 0, 2000}, {20000, 1, 20000, 0, 2000},
        {1000, 17, 640, 300, 1500}, // a chosen span, with many values beyond the limits
    };
    for (const QSize size : {QSize(392, 364), QSize(1013, 707)}) {
        for (const auto& c : cases) {
            RecordTableModel grid;
            fill(grid, c.records, static_cast<unsigned>(c.records));
            SCOPED_TRACE(testing::Message() << c.records << " records " << c.first << ".." << c.last
                                            << " at " << size.width());
            const QImage expected = byReference(size, grid, c.first, c.last, c.bottom, c.top);
            EXPECT_EQ(differingPixels(
                          expected, inBulk(size, grid, c.first, c.last, 1 << 20, c.bottom, c.top)),
                      0);
            if (c.records <= 1000) {
                // However the plot is cut into slices.
                for (const long long slice : {1LL, 7LL})
                    EXPECT_EQ(differingPixels(expected, inBulk(size, grid, c.first, c.last, slice,
                                                               c.bottom, c.top)),
                              0)
                        << "slices of " << slice;
            }
        }
    }
}

TEST(RecordPlot, ReportsWhatCannotBePlotted) {
    RecordTableModel grid;
    fill(grid, 10, 1);
    const struct {
        double first, last, bottom, top;
        const char* problem;
    } cases[] = {
        {1, 10, 5, 5, "The plot cannot be drawn: its value axis runs from 5 to 5."},
        {1, 11, 0, 2000,
         "The plot cannot be drawn: the list holds 10 records, not records 1 to 11."},
        {0, 10, 0, 2000,
         "The plot cannot be drawn: the list holds 10 records, not records 0 to 10."},
    };
    for (const auto& c : cases) {
        Plot plot(QSize(392, 364), grid, c.first, c.last, c.bottom, c.top);
        RecordPlotter plotter(grid, plot.s);
        EXPECT_EQ(plotter.problem(), QString::fromLatin1(c.problem));
        EXPECT_TRUE(plotter.finished());
    }
    // Nothing to plot is no problem: the frame stays alone.
    Plot empty(QSize(392, 364), grid, 1, 0);
    RecordPlotter plotter(grid, empty.s);
    EXPECT_FALSE(plotter.problem());
    EXPECT_TRUE(plotter.finished());
}

namespace {

enum class Trace { Noise, Walk, Steps };

// Long lists of the shapes a meter records: noise across the whole axis, a slow random walk
// that dips below the axis and overflows now and then, and steady levels with rare steps.
void fillLong(RecordTableModel& grid, int count, Trace trace, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> anywhere(-100, 2100);
    std::normal_distribution<double> drift(0, 1.5);
    std::uniform_int_distribution<int> rare(0, 999);
    double v = 300;
    QStringList rows;
    rows.reserve(count);
    for (int n = 1; n <= count; ++n) {
        QString value;
        switch (trace) {
        case Trace::Noise:
            value = QString::number(anywhere(random), 'f', 1);
            break;
        case Trace::Walk:
            v = std::clamp(v + drift(random), -80.0, 2100.0);
            value = rare(random) == 0 ? QStringLiteral("OL") : QString::number(v, 'f', 1);
            break;
        case Trace::Steps:
            if (rare(random) < 2)
                v = std::round(anywhere(random));
            value = QString::number(v, 'f', 0);
            break;
        }
        rows << QString::number(n) + u'\t' + timeOf(n) + u'\t' + value + u'\t';
    }
    grid.appendRows(rows);
}

} // namespace

// Chains of segments within one pixel column are drawn as one line: the picture stays the
// record-by-record one, pixel for pixel, for long lists, whole or zoomed into.
TEST(RecordPlot, LongListsGiveTheRecordByRecordPicture) {
    const struct {
        Trace trace;
        int records;
        double first, last;
        double bottom, top;
    } cases[] = {
        {Trace::Noise, 3000, 1, 3000, 0, 2000},       {Trace::Walk, 3000, 1, 3000, 0, 2000},
        {Trace::Steps, 3000, 1, 3000, 0, 2000},       {Trace::Noise, 100000, 1, 100000, 0, 2000},
        {Trace::Walk, 100000, 1, 100000, 0, 2000},    {Trace::Steps, 100000, 1, 100000, 0, 2000},
        {Trace::Walk, 100000, 1, 100000, 200, 400}, // most of the walk beyond the limits
        {Trace::Walk, 100000, 40001, 60000, 0, 2000}, {Trace::Noise, 100000, 49001, 51000, 0, 2000},
        {Trace::Walk, 100000, 49901, 50100, 0, 2000},
    };
    for (const QSize size : {QSize(392, 364), QSize(1013, 707), QSize(1920, 1080)}) {
        for (const auto& c : cases) {
            RecordTableModel grid;
            fillLong(grid, c.records, c.trace, static_cast<unsigned>(c.records));
            PlotValues values;
            SCOPED_TRACE(testing::Message()
                         << "trace " << static_cast<int>(c.trace) << ", " << c.records
                         << " records " << c.first << ".." << c.last << " at " << size.width());
            const QImage expected =
                byReference(size, grid, c.first, c.last, c.bottom, c.top, false);
            EXPECT_EQ(differingPixels(expected,
                                      inBulk(size, grid, c.first, c.last, 4096, c.bottom, c.top)),
                      0);
            EXPECT_EQ(differingPixels(expected, fromKeptValues(size, grid, values, c.first, c.last,
                                                               1 << 20, c.bottom, c.top)),
                      0)
                << "kept values";
        }
    }
}

// Each value cell is read once, without building texts: the numbers are readingNumber's to the
// last bit, and the heights ValueHeight's.
TEST(RecordPlot, KeptValuesReadAsTheReadingRuleReads) {
    const char16_t* texts[] = {
        u"OL",
        u"-OL",
        u"----",
        u" OL",
        u"OL ",
        u"",
        u" ",
        u"12.5",
        u" 12.5",
        u"12.5 ",
        u"1 2.5",
        u"- 5",
        u"+7",
        u"1D5",
        u"1e3",
        u"1E-3",
        u"2d2",
        u"-0.05",
        u"-0",
        u"-.0",
        u"0",
        u"007",
        u".5",
        u"5.",
        u".",
        u"-",
        u"-.",
        u"12,5",
        u"1.2.3",
        u"\t3\r\n",
        u"19999.9",
        u"0.1",
        u"0.3",
        u"2000",
        u"2000.0000000001",
        u"123456789012345678901234",
        u"0.00000000000000000000000000000000000000000000000000000001",
        u"1234567890123456789012345678901234567890123456789",
        u"1000000000000000000000000000000000000000000000000000000000000000000000000000000000"
        u"0000000000000000000000000000000000000000000000000000000000000000000000000000000000"
        u"0000000000000000000000000000000000000000000000000000000000000000000000000000000000"
        u"0000000000000000000000000000000000000000000000000000000000000000000000000000000000",
        u"9007199254740993",
        u"0.30000000000000004441",
        u"\u0661\u0662",
        u"1\u00e9",
        u"x5",
    };
    const struct {
        double min, max, height;
    } axes[] = {{0, 2000, 264}, {300, 1500, 607}, {-50, -10, 264}, {5, 5, 264}, {0, 0.1, 980}};
    for (const char16_t* t : texts) {
        const QStringView text(t);
        SCOPED_TRACE(text.toString().toStdString());
        EXPECT_EQ(std::bit_cast<quint64>(readingValue(text)),
                  std::bit_cast<quint64>(readingNumber(text)));
        for (const auto& a : axes) {
            const std::optional<double> expected = ValueHeight(text, a.min, a.max, a.height);
            const std::optional<double> height =
                plotValueHeight(plotValue(text), a.min, a.max, a.height);
            ASSERT_EQ(height.has_value(), expected.has_value()) << a.min << ".." << a.max;
            if (expected) {
                EXPECT_EQ(std::bit_cast<quint64>(*height), std::bit_cast<quint64>(*expected))
                    << a.min << ".." << a.max;
            }
        }
    }
}

TEST(RecordPlot, KeptValuesFollowTheList) {
    RecordTableModel grid;
    fill(grid, 50, 3);
    PlotValues values(grid);
    ASSERT_EQ(values.size(), 50);
    // A live list grows: only the new rows are read, and all read as a fresh read would.
    fill(grid, 30, 4);
    Plot plot(QSize(392, 364), grid, 41, 80);
    RecordPlotter plotter(grid, values, plot.s);
    EXPECT_EQ(values.size(), 80);
    for (int row = 1; row <= 80; ++row) {
        const double fresh = plotValue(grid.cellView(row, RecordTableModel::kValueColumn));
        EXPECT_EQ(std::bit_cast<quint64>(values.at(row)), std::bit_cast<quint64>(fresh)) << row;
    }
    // Values of a longer list do not fit a shorter one: they are read afresh.
    RecordTableModel other;
    fill(other, 20, 5);
    values.update(other);
    ASSERT_EQ(values.size(), 20);
    EXPECT_EQ(
        std::bit_cast<quint64>(values.at(20)),
        std::bit_cast<quint64>(plotValue(other.cellView(20, RecordTableModel::kValueColumn))));
}
