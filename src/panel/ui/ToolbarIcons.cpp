#include "panel/ui/ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int kSize = 32;

void drawDisk(QPainter& p) {
    p.setPen(QPen(QColor(20, 40, 90), 2));
    p.setBrush(QColor(60, 100, 190));
    p.drawRoundedRect(QRectF(5, 5, 22, 22), 2, 2);
    p.setBrush(QColor(235, 235, 235));
    p.drawRect(QRectF(9, 5, 14, 8));
    p.setBrush(QColor(40, 40, 40));
    p.drawRect(QRectF(10, 18, 12, 9));
}

void drawFolder(QPainter& p) {
    p.setPen(QPen(QColor(120, 80, 10), 2));
    p.setBrush(QColor(240, 190, 60));
    QPainterPath path;
    path.moveTo(4, 9);
    path.lineTo(12, 9);
    path.lineTo(14, 12);
    path.lineTo(28, 12);
    path.lineTo(28, 26);
    path.lineTo(4, 26);
    path.closeSubpath();
    p.drawPath(path);
}

void drawList(QPainter& p) {
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6, 4, 20, 24));
    p.setPen(QPen(QColor(40, 80, 160), 2));
    for (int y = 10; y <= 24; y += 5)
        p.drawLine(QPointF(10, y), QPointF(22, y));
}

void drawGraph(QPainter& p) {
    p.setPen(QPen(QColor(60, 60, 60), 2));
    p.drawLine(QPointF(5, 4), QPointF(5, 27));
    p.drawLine(QPointF(5, 27), QPointF(28, 27));
    p.setPen(QPen(QColor(200, 30, 30), 2.5));
    const QPointF pts[] = {{6, 22}, {11, 15}, {16, 19}, {21, 9}, {27, 12}};
    p.drawPolyline(pts, 5);
}

void drawAvg(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 140, 70));
    p.drawRect(QRectF(5, 14, 6, 13));
    p.drawRect(QRectF(13, 7, 6, 20));
    p.drawRect(QRectF(21, 18, 6, 9));
    p.setPen(QPen(QColor(200, 30, 30), 2, Qt::DashLine));
    p.drawLine(QPointF(3, 15), QPointF(29, 15));
}

void drawPc(QPainter& p) {
    p.setPen(QPen(QColor(50, 50, 50), 2));
    p.setBrush(QColor(200, 225, 250));
    p.drawRect(QRectF(5, 5, 22, 15));
    p.setBrush(QColor(120, 120, 120));
    p.drawRect(QRectF(12, 21, 8, 3));
    p.drawRect(QRectF(8, 25, 16, 2));
    p.setPen(QPen(QColor(30, 30, 150), 2));
    p.drawLine(QPointF(16, 12), QPointF(16, 8));
    p.drawLine(QPointF(16, 12), QPointF(20, 14));
}

void drawMemory(QPainter& p) {
    p.setPen(QPen(QColor(160, 160, 160), 2));
    for (int x = 9; x <= 23; x += 4) {
        p.drawLine(QPointF(x, 3), QPointF(x, 8));
        p.drawLine(QPointF(x, 24), QPointF(x, 29));
    }
    p.setPen(QPen(QColor(20, 20, 20), 1.5));
    p.setBrush(QColor(50, 50, 60));
    p.drawRect(QRectF(6, 8, 20, 16));
    p.setPen(Qt::white);
    p.drawEllipse(QPointF(10, 12), 1.5, 1.5);
}

void drawStop(QPainter& p) {
    p.setPen(QPen(QColor(120, 0, 0), 2));
    p.setBrush(QColor(220, 30, 30));
    p.drawRoundedRect(QRectF(7, 7, 18, 18), 2, 2);
}

void drawLight(QPainter& p) {
    p.setPen(QPen(QColor(150, 110, 0), 1.5));
    p.setBrush(QColor(255, 225, 60));
    p.drawEllipse(QPointF(16, 13), 8, 8);
    p.setBrush(QColor(150, 150, 150));
    p.drawRect(QRectF(12, 21, 8, 6));
    p.setPen(QPen(QColor(230, 170, 0), 1.5));
    p.drawLine(QPointF(16, 1), QPointF(16, 3));
    p.drawLine(QPointF(4, 13), QPointF(6, 13));
    p.drawLine(QPointF(26, 13), QPointF(28, 13));
}

void drawClock(QPainter& p) {
    p.setPen(QPen(QColor(40, 40, 40), 2));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 16), 12, 12);
    p.drawLine(QPointF(16, 16), QPointF(16, 8));
    p.drawLine(QPointF(16, 16), QPointF(22, 19));
}

void drawBell(QPainter& p) {
    p.setPen(QPen(QColor(120, 80, 0), 1.5));
    p.setBrush(QColor(240, 180, 40));
    QPainterPath path;
    path.moveTo(7, 24);
    path.cubicTo(10, 20, 8, 6, 16, 6);
    path.cubicTo(24, 6, 22, 20, 25, 24);
    path.closeSubpath();
    p.drawPath(path);
    p.drawEllipse(QPointF(16, 26), 2.5, 2.5);
}

} // namespace

QIcon toolbarIcon(const QString& key) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (key == u"Save" || key == u"Save1")
        drawDisk(p);
    else if (key == u"Open")
        drawFolder(p);
    else if (key == u"List")
        drawList(p);
    else if (key == u"Graph")
        drawGraph(p);
    else if (key == u"AVG")
        drawAvg(p);
    else if (key == u"PC")
        drawPc(p);
    else if (key == u"Memory")
        drawMemory(p);
    else if (key == u"Stop")
        drawStop(p);
    else if (key == u"Light")
        drawLight(p);
    else if (key == u"TimeSet")
        drawClock(p);
    else if (key == u"Alarm")
        drawBell(p);
    p.end();
    return QIcon(pixmap);
}
