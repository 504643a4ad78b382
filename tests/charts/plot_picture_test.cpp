#include "charts/ChartDrawing.h"
#include "charts/ChartScale.h"
#include "charts/PlotPicture.h"
#include "charts/PlotPreparation.h"
#include "charts/RecordPlot.h"
#include "common/SharedState.h"
#include "records/RecordTableModel.h"

#include <QFont>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

QFont plotFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    return font;
}

// The plot as the window draws it, on an image of `size`.
QImage windowChart(const RecordTableModel& records, SharedState s, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    s.PlotLayout = ComputeChartLayout(size.width(), size.height());
    s.PlotStep = s.PlotLayout.PlotWidth / s.PlotCount;
    QPainter p(&image);
    p.setFont(plotFont());
    DrawChartFrame(p, s.PlotLayout, s.PlotBottom, s.PlotTop, s.PlotUnit);
    RecordPlotter plotter(records, s);
    while (!plotter.finished())
        plotter.plotNext(p, 1 << 20);
    return image;
}

struct Listed {
    Listed() {
        QStringList rows;
        for (int n = 1; n <= 500; ++n)
            rows << QStringLiteral("%1\t22/06/2010 14:%2:%3\t%4\t")
                        .arg(n)
                        .arg(n / 60 % 60, 2, 10, QLatin1Char('0'))
                        .arg(n % 60, 2, 10, QLatin1Char('0'))
                        .arg(n % 7 == 0 ? QStringLiteral("OL") : QString::number(n * 3 % 1900));
        records.appendRows(rows);
        preparePlot(QStringLiteral("day.txt---*ID=7 Range:2000/LUX"), records, true, state);
    }
    RecordTableModel records;
    SharedState state;
};

} // namespace

TEST(PlotPicture, SizesAreTypedWidthByHeightWithinTheLimits) {
    const struct {
        const char* text;
        int width; // 0: refused
        int height;
    } cases[] = {
        {"1600 x 1000", 1600, 1000}, {"1600x1000", 1600, 1000}, {" 800X600 ", 800, 600},
        {"1600×1000", 1600, 1000},   {"4096 4096", 4096, 4096}, {"392 x 364", 392, 364},
        {"4097 x 1000", 0, 0},       {"391 x 364", 0, 0},       {"1600 x", 0, 0},
        {"-800 x 600", 0, 0},        {"1e3 x 600", 0, 0},       {"", 0, 0},
    };
    for (const auto& c : cases) {
        const std::optional<QSize> size = parsePictureSize(QString::fromUtf8(c.text));
        EXPECT_EQ(size.value_or(QSize()), c.width ? QSize(c.width, c.height) : QSize()) << c.text;
    }
}

// Without lines the picture is the plot as the window draws it at that size; with lines the
// chart moves down under them, drawn for the height that is left.
TEST(PlotPicture, PictureIsThePlotDrawnAfreshUnderItsLines) {
    Listed l;
    for (const QSize size : {QSize(392, 364), QSize(1600, 1000)}) {
        EXPECT_EQ(plotPicture(l.records, l.state, size, {}, plotFont()),
                  windowChart(l.records, l.state, size))
            << size.width();
    }
    l.state.PlotFirst = 101; // a zoomed view
    l.state.PlotLast = 200;
    l.state.PlotCount = 100;
    const QString title = plotPictureTitle(l.state, l.records);
    EXPECT_EQ(title, "day.txt---*ID=7 Range:2000/LUX, 22/06/2010 14:01:41 to 22/06/2010 "
                     "14:03:20 (LUX)");
    const QImage picture = plotPicture(l.records, l.state, QSize(800, 600),
                                       {title, QStringLiteral("Records 100")}, plotFont());
    ASSERT_EQ(picture.size(), QSize(800, 600));
    int top = 600;
    for (int y = 0; y < 600 && top == 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            if (qGray(picture.pixel(x, y)) < 128) {
                top = y;
                break;
            }
        }
    }
    EXPECT_LT(top, 10) << "the title starts the picture";
    // The chart under the two lines is the window's drawing at the height left.
    for (int lines = 20; lines <= 40; ++lines) {
        const QImage chart = windowChart(l.records, l.state, QSize(800, 600 - lines));
        if (picture.copy(0, lines, 800, 600 - lines) == chart)
            return;
    }
    ADD_FAILURE() << "no chart under the lines";
}
