#include "charts/PlotReadout.h"

#include "charts/ChartScale.h"
#include "common/PlotState.h"
#include "records/RecordTableModel.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kNumberColumn = 0;
// "OL" is drawn 5 pixels above the plot area, an underflow 3 below its baseline: the pointer
// finds them within this margin.
constexpr double kMargin = 8;
constexpr int kMarkRadius = 3;
constexpr int kPointerGap = 14;
constexpr int kPadding = 3;

} // namespace

PlotSpan plotSpanOf(const PlotState& state) {
    return {state.PlotLayout,
            state.PlotBottom,
            state.PlotTop,
            state.PlotStep,
            std::llround(state.PlotFirst),
            std::max(0LL, std::llround(state.PlotCount)),
            state.PlotUnit};
}

std::optional<long long> nearestRecord(const PlotSpan& span, QPointF pointer) {
    const ChartLayout& l = span.layout;
    if (span.count < 1 || !(span.step > 0))
        return std::nullopt;
    const bool over =
        pointer.x() >= l.AxisX - kMargin && pointer.x() <= l.AxisX + l.PlotWidth + kMargin &&
        pointer.y() >= l.Baseline - l.PlotHeight - kMargin && pointer.y() <= l.Baseline + kMargin;
    if (!over)
        return std::nullopt;
    const double k = std::round((pointer.x() - l.AxisX) / span.step) + 1;
    return static_cast<long long>(std::clamp(k, 1.0, static_cast<double>(span.count)));
}

std::optional<PlotReadout> plotReadout(const PlotSpan& span, const RecordTableModel& records,
                                       QPointF pointer) {
    const std::optional<long long> k = nearestRecord(span, pointer);
    if (!k)
        return std::nullopt;
    const long long row = span.firstRow + *k - 1;
    // The list may have changed since the plot was drawn.
    if (row < 1 || row > records.dataRowCount())
        return std::nullopt;
    const int r = static_cast<int>(row);
    const QStringView value = records.cellView(r, RecordTableModel::kValueColumn);
    const ChartLayout& l = span.layout;
    const double h = ValueHeight(value, span.bottom, span.top, l.PlotHeight).value_or(0);
    PlotReadout readout;
    readout.point = QPointF(l.AxisX + static_cast<double>(*k - 1) * span.step, l.Baseline - h);
    readout.lines << QStringLiteral("No. ") +
                         records.cellView(r, kNumberColumn).trimmed().toString()
                  << records.cellView(r, RecordTableModel::kTimeColumn).trimmed().toString()
                  << value.trimmed().toString() + u' ' + span.unit;
    return readout;
}

namespace {

struct ReadoutLayout {
    QRect mark;
    QRect box;
    int lineHeight;
};

ReadoutLayout readoutLayout(const QFont& font, const PlotReadout& readout, QPointF pointer,
                            const QRect& bounds) {
    const QFontMetrics metrics(font);
    int width = 0;
    for (const QString& line : readout.lines)
        width = std::max(width, metrics.horizontalAdvance(line));
    const QSize size(width + 2 * kPadding,
                     metrics.height() * static_cast<int>(readout.lines.size()) + 2 * kPadding);
    const QPoint at = pointer.toPoint();
    QRect box(at + QPoint(kPointerGap, kPointerGap), size);
    if (box.right() > bounds.right())
        box.moveRight(at.x() - kPointerGap);
    if (box.bottom() > bounds.bottom())
        box.moveBottom(at.y() - kPointerGap);
    box.moveLeft(std::max(box.left(), bounds.left()));
    box.moveTop(std::max(box.top(), bounds.top()));
    const QRect mark(readout.point.toPoint() - QPoint(kMarkRadius, kMarkRadius),
                     QSize(2 * kMarkRadius + 1, 2 * kMarkRadius + 1));
    return {mark, box, metrics.height()};
}

} // namespace

QRect plotReadoutBounds(const QFont& font, const PlotReadout& readout, QPointF pointer,
                        const QRect& bounds) {
    const ReadoutLayout l = readoutLayout(font, readout, pointer, bounds);
    // The mark's two-pixel pen reaches a pixel beyond its square.
    return l.box | l.mark.adjusted(-1, -1, 1, 1);
}

void drawPlotReadout(QPainter& painter, const PlotReadout& readout, QPointF pointer,
                     const QRect& bounds) {
    const ReadoutLayout l = readoutLayout(painter.font(), readout, pointer, bounds);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor(200, 0, 0), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(l.mark);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(QColor(255, 255, 225));
    painter.drawRect(l.box.adjusted(0, 0, -1, -1));
    QRect line(l.box.left() + kPadding, l.box.top() + kPadding, l.box.width() - 2 * kPadding,
               l.lineHeight);
    for (const QString& text : readout.lines) {
        painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, text);
        line.translate(0, l.lineHeight);
    }
    painter.restore();
}
