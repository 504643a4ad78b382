#include "charts/ChartDrawing.h"
#include "charts/GraphSweep.h"
#include "common/SharedState.h"
#include "support/Pixels.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <random>

namespace {

struct Sweep {
    Sweep() {
        image.setDotsPerMeterX(3780);
        image.setDotsPerMeterY(3780);
        image.fill(Qt::white);
        s.GraphLayout = {60, 337, 264, 270};
        s.GraphTop = 2000;
        s.GraphBottom = 0;
        s.GraphStep = 1;
        s.GraphX = -1;
        s.GridColour = 7;
    }
    QRect tick(const Value& value, bool fresh = true) {
        s.Value = value;
        QPainter p(&image);
        p.setFont(QFont(QStringLiteral("Times New Roman"), 8));
        return drawSweepTick(p, s, s, QStringLiteral("14:05:09"), fresh);
    }
    QRect tick(const char* text) { return tick(Value::fromText(QString::fromLatin1(text))); }
    std::vector<int> rows(int x, QRgb colour, int from = 0, int to = 363) const {
        return rowsIn(image, x, from, to, colour);
    }
    bool darkIn(const QRect& area) const { return anyDark(image, area); }

    QImage image{349, 364, QImage::Format_RGB32};
    SharedState s;
};

} // namespace

TEST(GraphSweep, PenAdvancesAndStartsAgainAtTheLeftEdge) {
    const struct {
        double x, step, width;
        double next;
        std::optional<double> wrappedFrom;
    } cases[] = {
        {-1, 1, 270, 0, std::nullopt},
        {0, 1, 270, 1, std::nullopt},
        {268, 1, 270, 269, std::nullopt},
        {269, 1, 270, 0, 270},
        {260, 27, 270, 0, 287},
        {-0.3, 0.3, 270, 0, std::nullopt},
        {269.5, 0.25, 270, 269.75, std::nullopt},
    };
    for (const auto& c : cases) {
        const SweepAdvance a = advanceSweep(c.x, c.step, c.width);
        EXPECT_EQ(a.x, c.next) << c.x << " + " << c.step;
        EXPECT_EQ(a.wrappedFrom, c.wrappedFrom) << c.x << " + " << c.step;
    }
}

TEST(GraphSweep, MarksOnOneSweep) {
    // Step 1 over a width of 270: positions 0 to 269, then 0 again.
    std::vector<double> times, mids;
    double x = -1;
    for (int tick = 0; tick < 271; ++tick) {
        x = advanceSweep(x, 1, 270).x;
        if (tick == 270) {
            EXPECT_EQ(x, 0);
            break;
        }
        EXPECT_EQ(x, tick);
        if (sweepMarkAt(x) == SweepMark::Time)
            times.push_back(x);
        else if (sweepMarkAt(x) == SweepMark::Mid)
            mids.push_back(x);
    }
    EXPECT_EQ(times, (std::vector<double>{0, 60, 120, 180, 240}));
    EXPECT_EQ(mids, (std::vector<double>{30, 90, 150, 210}));
}

TEST(GraphSweep, FractionalPositionsAreMarkedWhereTheyRoundToTheMark) {
    const struct {
        double x;
        SweepMark mark;
    } cases[] = {
        {59.5, SweepMark::Time}, {60.5, SweepMark::Time}, {60.51, SweepMark::None},
        {29.5, SweepMark::Mid},  {30.5, SweepMark::Mid},  {28.5, SweepMark::None},
        {0.4, SweepMark::Time},  {89.6, SweepMark::Mid},  {61.5, SweepMark::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sweepMarkAt(c.x), c.mark) << c.x;
}

TEST(GraphSweep, FirstTickRemembersThePointAndLabelsTheLeftEdge) {
    Sweep sweep;
    sweep.tick("1000");
    EXPECT_EQ(sweep.s.GraphX, 0);
    EXPECT_EQ(sweep.s.GraphPrevX, 60);
    EXPECT_EQ(sweep.s.GraphPrevY, 205);
    // No segment: column 60 holds only the dotted time line and the grid.
    EXPECT_EQ(sweep.rows(60, kBlack, 60, 341), std::vector<int>{});
    EXPECT_GT(sweep.rows(60, kGrey).size(), 130u);
    // The time label under the axis, centred 5 pixels left of the line.
    EXPECT_TRUE(sweep.darkIn(QRect(30, 347, 60, 14)));
    // The sweep front: one red column at x + step + 1.
    EXPECT_EQ(sweep.rows(61, kRed), std::vector<int>{});
    // From 3 below the baseline to 5 above the plot area, under the grid drawn after it.
    EXPECT_EQ(sweep.rows(62, kRed).size(), 273u - 8);
    for (int y : {73, 106, 139, 172, 205, 238, 271, 304})
        EXPECT_EQ(sweep.image.pixel(62, y), kGrey) << y;
}

TEST(GraphSweep, PictureLeavesTheRedFrontOut) {
    for (const double step : {1.0, 2.5, 27.0}) {
        Sweep sweep;
        sweep.s.GraphStep = step;
        sweep.s.GraphX = -step;
        for (int i = 0; i < 40; ++i)
            sweep.tick(i % 7 == 3 ? "OL" : "1200");
        const QImage picture = withoutSweepFront(sweep.image, sweep.s);
        ASSERT_EQ(picture.size(), sweep.image.size());
        int turned = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const QRgb was = sweep.image.pixel(x, y);
                const QRgb now = picture.pixel(x, y);
                ASSERT_NE(now, kRed) << step << ": " << x << "," << y;
                if (was == kRed) {
                    EXPECT_EQ(now, qRgb(255, 255, 255)) << x << "," << y;
                    ++turned;
                } else {
                    EXPECT_EQ(now, was) << x << "," << y;
                }
            }
        }
        EXPECT_GT(turned, 200) << step;
    }
}

TEST(GraphSweep, SegmentsFromThePreviousPoint) {
    const struct {
        const char* text;
        double top;
        int y;
    } cases[] = {
        {"2000", 2000, 73}, {"0", 2000, 337},   {"OL", 2000, 68},  {"----", 2000, 68},
        {"2001", 2000, 68}, {"-OL", 2000, 340}, {"-1", 2000, 340}, {"12,5", 20, 172},
        {"12.5", 20, 172},  {"1e3", 2, 205}, // a letter ends the reading: 1 of 2
    };
    for (const auto& c : cases) {
        Sweep sweep;
        sweep.s.GraphTop = c.top;
        sweep.tick("OL");
        sweep.tick(c.text);
        EXPECT_EQ(sweep.s.GraphPrevY, c.y) << c.text;
        EXPECT_EQ(sweep.s.GraphPrevX, 61) << c.text;
        // The segment from (60, 68) to (61, y) covers the rows between the two points.
        std::vector<int> black;
        for (int y = 60; y <= 345; ++y) {
            if (sweep.image.pixel(60, y) == kBlack || sweep.image.pixel(61, y) == kBlack)
                black.push_back(y);
        }
        std::vector<int> between;
        for (int y = std::min(68, c.y); y <= std::max(68, c.y); ++y)
            between.push_back(y);
        EXPECT_EQ(black, between) << c.text;
    }
    Sweep number;
    number.tick(Value::fromNumber(1000));
    number.tick(Value::fromNumber(500));
    EXPECT_EQ(number.s.GraphPrevY, 271);
}

TEST(GraphSweep, NewSweepRemovesTheFrontAtTheRightEdgeAndDrawsNoSegment) {
    Sweep sweep;
    sweep.s.GraphX = 267;
    sweep.s.GraphPrevX = 60 + 267;
    sweep.s.GraphPrevY = 100;
    sweep.tick("1000"); // x = 268
    sweep.tick("1000"); // x = 269: the front stands at 60 + 271
    EXPECT_FALSE(sweep.rows(331, kRed).empty());
    sweep.tick("2000"); // x = 270 starts again at 0
    EXPECT_EQ(sweep.s.GraphX, 0);
    EXPECT_EQ(sweep.rows(331, kRed), std::vector<int>{});
    EXPECT_EQ(sweep.rows(60, kBlack, 60, 341), std::vector<int>{});
    // Nor a line back across the chart from the last point of the old sweep.
    for (int x = 61; x <= 326; ++x)
        ASSERT_EQ(sweep.rows(x, kBlack, 60, 341), std::vector<int>{}) << x;
    EXPECT_EQ(sweep.s.GraphPrevX, 60);
    EXPECT_EQ(sweep.s.GraphPrevY, 73);
}

// A meter gone silent leaves a gap: no segment for the ticks without a fresh reading, none
// bridging the gap, and the trace resumes from the first fresh reading after it.
TEST(GraphSweep, StaleReadingsLeaveAGapInTheTrace) {
    Sweep sweep;
    sweep.tick("1100"); // x = 0
    sweep.tick("1100"); // x = 1: a segment
    const int y = static_cast<int>(sweep.s.GraphPrevY);
    for (int i = 0; i < 3; ++i) // x = 2..4: the meter is silent
        sweep.tick(Value::fromText("1100"), false);
    sweep.tick("500"); // x = 5: the trace resumes here
    sweep.tick("500"); // x = 6
    EXPECT_EQ(sweep.rows(61, kBlack, 60, 336), std::vector<int>{y});
    for (int x = 62; x <= 64; ++x)
        EXPECT_EQ(sweep.rows(x, kBlack, 60, 336), std::vector<int>{}) << x;
    EXPECT_EQ(sweep.rows(65, kBlack, 60, 336), std::vector<int>{271});
}

TEST(GraphSweep, ReadingStaysFreshForAPollCycleAfterItsFrame) {
    const struct {
        quint64 frames;
        double at;
        bool fresh;
    } steps[] = {
        {1, 10.0, true},                     // first look: counts from now
        {1, 10.5, true},                     // four graph ticks per poll
        {1, 10.61, false},                   // no frame for longer than a poll takes
        {1, 15.0, false},  {2, 15.05, true}, // a fresh frame
        {2, 15.6, true},
    };
    ReadingFreshness freshness;
    for (const auto& step : steps)
        EXPECT_EQ(freshness.fresh(step.frames, step.at), step.fresh) << step.at;
}

TEST(GraphSweep, AxisWithoutHeightDrawsNoTrace) {
    Sweep sweep;
    sweep.s.GraphTop = 0;
    for (int i = 0; i < 5; ++i)
        sweep.tick(Value());
    EXPECT_EQ(sweep.s.GraphPrevX, 0);
    for (int x = 60; x < 66; ++x)
        EXPECT_EQ(sweep.rows(x, kBlack, 60, 341), std::vector<int>{}) << x;
}

TEST(GraphSweep, ChangedPixelsLieInThisTickOrThePreviousOne) {
    // The window repaints only these rectangles: anything changed outside would stay stale.
    Sweep sweep;
    sweep.s.GraphStep = 7.3;
    sweep.s.GraphX = -7.3;
    std::mt19937 random(7);
    std::uniform_int_distribution<int> value(-100, 2100);
    // The first tick draws the grid on the cleared plot area: all of it repaints then.
    QRect previous = sweep.image.rect();
    for (int tick = 0; tick < 120; ++tick) {
        const QImage before = sweep.image.copy();
        const QRect drawn = sweep.tick(Value::fromNumber(value(random)));
        const QRect allowed = drawn | previous;
        for (int y = 0; y < before.height(); ++y) {
            for (int x = 0; x < before.width(); ++x) {
                if (before.pixel(x, y) != sweep.image.pixel(x, y)) {
                    ASSERT_TRUE(allowed.contains(x, y))
                        << "tick " << tick << " at " << x << "," << y;
                }
            }
        }
        previous = drawn;
    }
}
