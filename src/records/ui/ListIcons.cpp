#include "records/ui/ListIcons.h"

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

} // namespace

QIcon listToolbarIcon(const QString& key) {
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
    painter.end();
    return QIcon(pixmap);
}
