#include "logger/ui/FloodPanel.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

const QColor& FloodPanel::usedColour() {
    static const QColor kUsed(0, 0, 160);
    return kUsed;
}

const QColor& FloodPanel::unusedColour() {
    static const QColor kUnused(Qt::white);
    return kUnused;
}

FloodPanel::FloodPanel(const QString& caption, QWidget* parent)
    : QFrame(parent)
    , m_caption(caption) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setAccessibleDescription(caption);
}

void FloodPanel::setFloodPercent(double percent) {
    m_percent = std::clamp(percent, 0.0, 100.0);
    // What the bar shows, for the pointer and for a screen reader.
    const QString shown = QString::number(m_percent, 'f', 2) + QStringLiteral(" %");
    setToolTip(shown);
    setAccessibleName(shown);
    update();
}

void FloodPanel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter p(this);
    const QRect inside = contentsRect();
    const int usedWidth = static_cast<int>(std::lround(inside.width() * m_percent / 100.0));
    const QRect used(inside.topLeft(), QSize(usedWidth, inside.height()));
    const QRect unused(inside.left() + usedWidth, inside.top(), inside.width() - usedWidth,
                       inside.height());
    p.fillRect(used, usedColour());
    p.fillRect(unused, unusedColour());
    // The caption stays readable over both parts: light on the filled part, dark on the rest.
    p.setClipRect(used);
    p.setPen(Qt::white);
    p.drawText(inside, Qt::AlignCenter, m_caption);
    p.setClipRect(unused);
    p.setPen(Qt::black);
    p.drawText(inside, Qt::AlignCenter, m_caption);
}
