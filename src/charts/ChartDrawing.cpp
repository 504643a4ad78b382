#include "charts/ChartDrawing.h"

#include "charts/ChartScale.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

QPen thinPen(const QColor& colour, bool dotted = false) {
    QPen pen(colour, 1);
    pen.setCosmetic(true);
    if (dotted)
        pen.setDashPattern({1, 1});
    return pen;
}

int pixel(double coordinate) {
    return static_cast<int>(std::floor(coordinate + 0.5));
}

} // namespace

QColor paletteColour(int index) {
    static const QRgb kPalette[16] = {
        qRgb(0, 0, 0),       qRgb(0, 0, 128),   qRgb(0, 128, 0),   qRgb(0, 128, 128),
        qRgb(128, 0, 0),     qRgb(128, 0, 128), qRgb(128, 128, 0), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(0, 0, 255),   qRgb(0, 255, 0),   qRgb(0, 255, 255),
        qRgb(255, 0, 0),     qRgb(255, 0, 255), qRgb(255, 255, 0), qRgb(255, 255, 255),
    };
    return QColor(kPalette[index & 15]);
}

void DrawChartFrame(QPainter& painter, const ChartLayout& layout, double axisMin, double axisMax,
                    const QString& unitText) {
    const double axis = layout.AxisX - 2;
    const double base = layout.Baseline;
    const double height = layout.PlotHeight;

    QPen axisPen(Qt::black, 2);
    axisPen.setCapStyle(Qt::FlatCap);
    painter.setPen(axisPen);
    painter.drawLine(QPointF(axis, base + 5), QPointF(axis, base - height - 5));
    painter.drawLine(QPointF(axis, base + 6),
                     QPointF(layout.AxisX + layout.PlotWidth + 2, base + 6));

    painter.setPen(thinPen(Qt::black));
    for (int i = 0; i <= 16; ++i) {
        const double y = base - i * height / 16;
        painter.drawLine(QPointF(axis, y), QPointF(axis - 5, y));
        if (i % 2 == 0)
            painter.drawLine(QPointF(axis, y), QPointF(axis - 8, y));
    }

    for (int i = 0; i <= 8; ++i) {
        const QString label = FormatAxisLabel(axisMin + i * (axisMax - axisMin) / 8);
        drawTextAt(painter,
                   QPointF(layout.AxisX - 40 - textWidth(painter, label) / 4,
                           base - textHeight(painter) / 2 - i * height / 8),
                   label);
    }
    drawTextAt(painter, QPointF(layout.AxisX - 30, base - height - 25), unitText);
}

void DrawChartGrid(QPainter& painter, const ChartLayout& layout, const QColor& grid) {
    const double left = layout.AxisX;
    const double right = layout.AxisX + layout.PlotWidth;
    const double base = layout.Baseline;
    const double height = layout.PlotHeight;

    painter.setPen(thinPen(grid));
    painter.drawLine(QPointF(left - 2, base - height / 2), QPointF(right + 2, base - height / 2));
    painter.setPen(thinPen(grid, true));
    for (const double part : {1.0 / 8, 7.0 / 8, 3.0 / 4, 5.0 / 8, 1.0, 3.0 / 8, 1.0 / 4}) {
        const double y = base - height * part;
        painter.drawLine(QPointF(left, y), QPointF(right, y));
    }
}

void DrawTimeGridLine(QPainter& painter, const ChartLayout& layout, double x, const QColor& grid) {
    const double at = layout.AxisX + x;
    painter.setPen(thinPen(grid, true));
    painter.drawLine(QPointF(at, layout.Baseline),
                     QPointF(at, layout.Baseline - layout.PlotHeight - 10));
}

void DrawMidTick(QPainter& painter, const ChartLayout& layout, double x, const QColor& grid) {
    const double at = layout.AxisX + x;
    const double height = layout.PlotHeight;
    painter.setPen(thinPen(grid));
    painter.drawLine(QPointF(at, layout.Baseline - 3.8 * height / 8),
                     QPointF(at, layout.Baseline - 4.2 * height / 8));
}

QRect fillBox(QPainter& painter, QPointF corner1, QPointF corner2, const QColor& colour) {
    const int x1 = pixel(corner1.x());
    const int y1 = pixel(corner1.y());
    const int x2 = pixel(corner2.x());
    const int y2 = pixel(corner2.y());
    const QRect box(QPoint(std::min(x1, x2), std::min(y1, y2)),
                    QPoint(std::max(x1, x2), std::max(y1, y2)));
    painter.fillRect(box, colour);
    return box;
}

void drawSegment(QPainter& painter, QPointF from, QPointF to, const QColor& colour) {
    painter.setPen(thinPen(colour));
    painter.drawLine(from, to);
}

QRect drawTextAt(QPainter& painter, QPointF topLeft, const QString& text) {
    const QFontMetrics metrics = painter.fontMetrics();
    const QPoint at(pixel(topLeft.x()), pixel(topLeft.y()));
    painter.setPen(Qt::black);
    painter.drawText(at.x(), at.y() + metrics.ascent(), text);
    // Glyphs may reach a little past their advance (italic overhangs, antialiased edges).
    return QRect(at, QSize(metrics.horizontalAdvance(text), metrics.height()))
        .adjusted(-2, 0, 2, 1);
}

double textWidth(const QPainter& painter, const QString& text) {
    return painter.fontMetrics().horizontalAdvance(text);
}

double textHeight(const QPainter& painter) {
    return painter.fontMetrics().height();
}

void drawSpanSelection(QPainter& painter, const ChartLayout& layout, double x0, double x1) {
    painter.setPen(QPen(QColor(0, 90, 200), 1, Qt::DashLine));
    painter.setBrush(QColor(0, 90, 200, 40));
    painter.drawRect(QRectF(QPointF(std::min(x0, x1), layout.Baseline - layout.PlotHeight),
                            QPointF(std::max(x0, x1), layout.Baseline)));
}
