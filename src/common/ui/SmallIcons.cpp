#include "common/ui/SmallIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int kSize = 20;

void drawDisk(QPainter& p) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(40, 60, 140));
    p.drawRect(2, 2, 15, 15);
    p.setBrush(Qt::white);
    p.drawRect(5, 2, 9, 6);
    p.setBrush(QColor(190, 190, 190));
    p.drawRect(5, 11, 9, 6);
    p.fillRect(11, 3, 2, 4, QColor(40, 60, 140));
}

void drawPrinter(QPainter& p) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(5, 1, 9, 7);
    p.setBrush(QColor(170, 170, 170));
    p.drawRect(1, 7, 17, 8);
    p.setBrush(Qt::white);
    p.drawRect(5, 12, 9, 6);
    p.drawLine(7, 14, 12, 14);
    p.drawLine(7, 16, 12, 16);
    p.fillRect(15, 9, 2, 2, QColor(0, 160, 0));
}

void drawPlot(QPainter& p) {
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(2, 1, 2, 17);
    p.drawLine(2, 17, 18, 17);
    QPainterPath curve(QPointF(3, 14));
    curve.cubicTo(QPointF(7, 2), QPointF(11, 20), QPointF(18, 4));
    p.setPen(QPen(QColor(200, 0, 0), 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curve);
}

void drawLimit(QPainter& p) {
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(10, 3, 10, 16);
    p.setPen(QPen(QColor(200, 0, 0), 2));
    p.drawLine(4, 2, 16, 2);
    p.drawLine(4, 17, 16, 17);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::black);
    p.drawPolygon(QPolygon({QPoint(7, 6), QPoint(13, 6), QPoint(10, 3)}));
    p.drawPolygon(QPolygon({QPoint(7, 13), QPoint(13, 13), QPoint(10, 16)}));
}

// A framed picture: a sun over two hills.
void drawPicture(QPainter& p) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(200, 230, 255));
    p.drawRect(1, 3, 17, 14);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 190, 0));
    p.drawEllipse(12, 5, 4, 4);
    p.setBrush(QColor(40, 140, 40));
    p.drawPolygon(QPolygon({QPoint(2, 17), QPoint(7, 9), QPoint(12, 17)}));
    p.drawPolygon(QPolygon({QPoint(8, 17), QPoint(13, 11), QPoint(18, 17)}));
}

// A sheet of rows with an arrow leaving it.
void drawExport(QPainter& p) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(1, 1, 11, 16);
    for (int y = 4; y <= 14; y += 3)
        p.drawLine(3, y, 10, y);
    p.setPen(QPen(QColor(0, 130, 0), 2));
    p.drawLine(8, 10, 17, 10);
    p.drawLine(14, 7, 17, 10);
    p.drawLine(14, 13, 17, 10);
}

// Three bars, low, middle and high, under a span bracket.
void drawSpanStatistics(QPainter& p) {
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(2, 2, 17, 2);
    p.drawLine(2, 2, 2, 5);
    p.drawLine(17, 2, 17, 5);
    p.setBrush(QColor(40, 110, 200));
    p.drawRect(3, 12, 3, 6);
    p.drawRect(8, 9, 3, 9);
    p.drawRect(13, 6, 3, 12);
}

// A clock face over a time axis with its ticks.
void drawClockAxis(QPainter& p) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawEllipse(4, 1, 11, 11);
    p.drawLine(9, 6, 9, 3);
    p.drawLine(9, 6, 12, 6);
    p.drawLine(1, 16, 18, 16);
    for (int x = 2; x <= 17; x += 5)
        p.drawLine(x, 14, x, 18);
}

} // namespace

QIcon smallToolbarIcon(const QString& key) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, key == u"Plot");
    if (key == u"Save")
        drawDisk(painter);
    else if (key == u"Print")
        drawPrinter(painter);
    else if (key == u"Plot")
        drawPlot(painter);
    else if (key == u"Limit")
        drawLimit(painter);
    else if (key == u"SavePicture")
        drawPicture(painter);
    else if (key == u"Export")
        drawExport(painter);
    else if (key == u"Statistics")
        drawSpanStatistics(painter);
    else if (key == u"TimeAxis")
        drawClockAxis(painter);
    painter.end();
    return QIcon(pixmap);
}
