#include "charts/ChartDrawing.h"
#include "charts/ChartScale.h"
#include "support/Pixels.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

QImage blank(int w = 349, int h = 364) {
    QImage image(w, h, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    return image;
}

std::vector<int> range(int from, int to, int step = 1) {
    std::vector<int> v;
    for (int i = from; i <= to; i += step)
        v.push_back(i);
    return v;
}

const ChartLayout kLayout = ComputeChartLayout(349, 364); // 60, 337, 264, 270

} // namespace

TEST(ChartDrawing, FrameAxesAndTicks) {
    QImage image = blank();
    QPainter p(&image);
    DrawChartFrame(p, kLayout, 0, 2000, QStringLiteral("LUX"));
    p.end();

    // The value axis is two pixels wide on x = 58 and runs from 5 below the baseline to 5
    // above the plot area; the time axis lies 6 below the baseline out to 2 past the plot area.
    for (int y : {68, 100, 337, 341})
        EXPECT_EQ(columnsIn(image, y, 57, 70, kBlack), range(57, 58)) << y;
    EXPECT_EQ(rowsIn(image, 57, 60, 363, kBlack), range(68, 341));
    for (int x : {59, 200, 331})
        EXPECT_EQ(rowsIn(image, x, 339, 363, kBlack), range(342, 343)) << x;
    EXPECT_EQ(image.pixel(332, 343), kWhite);

    // 17 ticks every 16.5 pixels, every other one long; nothing right of the axis.
    const struct {
        int y;
        int left; // leftmost black column of the tick
    } ticks[] = {{337, 50}, {320, 53}, {304, 50}, {287, 53}, {73, 50}, {205, 50}, {188, 53}};
    for (const auto& t : ticks) {
        EXPECT_EQ(columnsIn(image, t.y, 44, 56, kBlack), range(t.left, 56)) << t.y;
        EXPECT_EQ(columnsIn(image, t.y, 60, 340, kBlack), std::vector<int>{}) << t.y;
    }
    for (int y : {330, 321, 312, 74})
        EXPECT_EQ(columnsIn(image, y, 44, 56, kBlack), std::vector<int>{}) << y;

    // Nine labels left of the axis, each centred on its long tick, and the unit above the axis.
    for (int i = 0; i <= 8; ++i) {
        const int y = 337 - i * 33;
        EXPECT_TRUE(anyDark(image, QRect(0, y - 3, 44, 6))) << "label " << i;
        EXPECT_FALSE(anyDark(image, QRect(0, y + 10, 44, 6))) << "below label " << i;
    }
    EXPECT_TRUE(anyDark(image, QRect(30, 48, 30, 14)));
    EXPECT_FALSE(anyDark(image, QRect(60, 0, 289, 68))); // the plot area's top is clear
}

TEST(ChartDrawing, GridLinesAreDottedButTheMiddleLine) {
    QImage image = blank();
    QPainter p(&image);
    DrawChartGrid(p, kLayout, paletteColour(7));
    p.end();

    // Middle line: solid from 2 left of the axis to 2 past the plot area.
    EXPECT_EQ(columnsIn(image, 205, 50, 340, kGrey), range(58, 332));
    // Dotted lines at the eighths (none at the baseline, none at the middle's neighbours).
    for (int y : {304, 106, 139, 172, 73, 238, 271}) {
        const std::vector<int> dots = columnsIn(image, y, 50, 340, kGrey);
        ASSERT_EQ(dots.size(), 136u) << y; // every other pixel of 60..330
        EXPECT_EQ(dots.front(), 60) << y;
        EXPECT_EQ(dots.back(), 330) << y;
        for (size_t i = 1; i < dots.size(); ++i)
            ASSERT_EQ(dots[i] - dots[i - 1], 2) << y;
    }
    int greyRows = 0;
    for (int y = 0; y < 364; ++y)
        greyRows += image.pixel(100, y) == kGrey || image.pixel(101, y) == kGrey;
    EXPECT_EQ(greyRows, 8);
    EXPECT_EQ(columnsIn(image, 337, 0, 348, kGrey), std::vector<int>{});
}

TEST(ChartDrawing, TimeLineAndMidTick) {
    QImage image = blank();
    QPainter p(&image);
    DrawTimeGridLine(p, kLayout, 60, paletteColour(7));
    DrawMidTick(p, kLayout, 30, paletteColour(7));
    p.end();
    // Dotted from the baseline to 10 above the plot area.
    const std::vector<int> dots = rowsIn(image, 120, 0, 363, kGrey);
    ASSERT_FALSE(dots.empty());
    EXPECT_EQ(dots.front(), 63);
    EXPECT_EQ(dots.back(), 337);
    EXPECT_EQ(dots.size(), 138u);
    // Across the middle line, from 3.8 to 4.2 eighths of the height.
    EXPECT_EQ(rowsIn(image, 90, 0, 363, kGrey), range(198, 211));
}

TEST(ChartDrawing, BoxesIncludeBothCorners) {
    const struct {
        QPointF a, b;
        QRect covered;
    } cases[] = {
        {{60, 340}, {61, 68}, QRect(QPoint(60, 68), QPoint(61, 340))},
        {{61, 68}, {60, 340}, QRect(QPoint(60, 68), QPoint(61, 340))},
        {{60.3, 340.5}, {61.6, 68.4}, QRect(QPoint(60, 68), QPoint(62, 341))},
        {{10, 10}, {10, 10}, QRect(10, 10, 1, 1)},
    };
    for (const auto& c : cases) {
        QImage image = blank();
        QPainter p(&image);
        EXPECT_EQ(fillBox(p, c.a, c.b, paletteColour(12)), c.covered);
        p.end();
        int red = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const bool isRed = image.pixel(x, y) == qRgb(255, 0, 0);
                red += isRed;
                ASSERT_EQ(isRed, c.covered.contains(x, y)) << x << "," << y;
            }
        }
        EXPECT_EQ(red, c.covered.width() * c.covered.height());
    }
}
