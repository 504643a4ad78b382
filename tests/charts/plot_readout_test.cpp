#include "charts/PlotReadout.h"
#include "records/RecordTableModel.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

PlotSpan span(long long count, long long firstRow = 1) {
    PlotSpan s;
    s.layout = {60, 300, 200, 300};
    s.bottom = 0;
    s.top = 2000;
    s.step = 300.0 / static_cast<double>(count);
    s.firstRow = firstRow;
    s.count = count;
    s.unit = QStringLiteral("LUX");
    return s;
}

} // namespace

TEST(PlotReadout, NearestRecordFromThePointersX) {
    const struct {
        long long count;
        double x;
        double y;
        std::optional<long long> record;
    } cases[] = {
        {4, 60, 200, 1},   {4, 97, 200, 1},   {4, 98, 200, 2},  {4, 285, 200, 4},
        {4, 365, 200, 4},  {4, 53, 200, 1},   {1, 300, 200, 1}, {1000000, 210, 150, 500001},
        {4, 50, 200, {}},  {4, 369, 200, {}}, {4, 200, 91, {}}, {4, 200, 309, {}},
        {0, 200, 200, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(nearestRecord(span(c.count), QPointF(c.x, c.y)), c.record)
            << c.count << " " << c.x << "," << c.y;
}

TEST(PlotReadout, ShowsTheRecordWhereThePlotDrewIt) {
    RecordTableModel records;
    records.appendRows({"1\t22/06/2010 10:00:00\t500\t", "2\t22/06/2010 10:00:02\tOL\t",
                        "3\t22/06/2010 10:00:04\t1500\t"});
    const PlotSpan s = span(2, 2);
    const std::optional<PlotReadout> second = plotReadout(s, records, QPointF(61, 250));
    ASSERT_TRUE(second);
    EXPECT_EQ(second->lines, QStringList({"No. 2", "22/06/2010 10:00:02", "OL LUX"}));
    // "OL" is drawn 5 pixels above the plot area.
    EXPECT_EQ(second->point, QPointF(60, 95));
    const std::optional<PlotReadout> third = plotReadout(s, records, QPointF(300, 250));
    ASSERT_TRUE(third);
    ASSERT_FALSE(third->lines.isEmpty());
    EXPECT_EQ(third->lines.first(), "No. 3");
    EXPECT_EQ(third->point, QPointF(210, 150));
    // A list that lost rows since it was plotted shows nothing there.
    EXPECT_FALSE(plotReadout(span(2, 3), records, QPointF(300, 250)));
}

// The window repaints only the readout's bounds when it moves: anything drawn outside them
// would stay behind on the screen.
TEST(PlotReadout, DrawsWithinItsBounds) {
    const PlotReadout readout{QPointF(380, 20), {"No. 86400", "22/06/2010 23:59:59", "1999 LUX"}};
    const QRect window(0, 0, 392, 364);
    for (const QPointF pointer : {QPointF(100, 100), QPointF(385, 355), QPointF(2, 2)}) {
        QImage image(window.size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(QFont(QStringLiteral("Arial"), 8));
        drawPlotReadout(painter, readout, pointer, window);
        const QRect bounds = plotReadoutBounds(painter.font(), readout, pointer, window);
        painter.end();
        // Turned back inside the window wherever the pointer is.
        EXPECT_TRUE(window.contains(bounds)) << pointer.x() << "," << pointer.y();
        int drawn = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) == qRgb(255, 255, 255))
                    continue;
                ++drawn;
                ASSERT_TRUE(bounds.contains(x, y)) << x << "," << y;
            }
        }
        EXPECT_GT(drawn, 100);
    }
}
