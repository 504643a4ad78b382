#include "charts/PlotReadout.h"

#include "charts/ChartScale.h"
#include "charts/PlotTimes.h"
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

PlotSpan plotSpanOf(const PlotState& state, const PlotTimes* times) {
    PlotSpan span{state.PlotLayout,
                  state.PlotBottom,
                  state.PlotTop,
                  state.PlotStep,
                  std::llround(state.PlotFirst),
                  std::max(0LL, std::llround(state.PlotCount)),
                  state.PlotUnit};
    if (state.PlotTimeAxis) {
        span.times = times;
        span.timeFrom = state.PlotTimeFrom;
        span.timeTo = state.PlotTimeTo;
    }
    return span;
}

namespace {

double pixelsPerSecond(const PlotSpan& span) {
    const double seconds = span.timeTo > span.timeFrom ? span.timeTo - span.timeFrom : 1;
    return span.layout.PlotWidth / seconds;
}

// On a clock-time axis: the record whose time is nearest the pointer's, among those on the
// axis.
std::optional<long long> nearestOnTimes(const PlotSpan& span, double x) {
    const PlotTimes& times = *span.times;
    const long long first = span.firstRow - 1;
    const long long end = first + span.count;
    const long long from = times.firstReaching(span.timeFrom, first, end);
    const long long to = times.firstPast(span.timeTo, first, end) - 1;
    const double t = span.timeFrom + (x - span.layout.AxisX) / pixelsPerSecond(span);
    const long long nearest = times.nearest(t, from, to);
    if (nearest < 0)
        return std::nullopt;
    return nearest - first + 1;
}

} // namespace

std::optional<long long> nearestRecord(const PlotSpan& span, QPointF pointer) {
    const ChartLayout& l = span.layout;
    if (span.count < 1 || (!span.times && !(span.step > 0)))
        return std::nullopt;
    const bool over =
        pointer.x() >= l.AxisX - kMargin && pointer.x() <= l.AxisX + l.PlotWidth + kMargin &&
        pointer.y() >= l.Baseline - l.PlotHeight - kMargin && pointer.y() <= l.Baseline + kMargin;
    if (!over)
        return std::nullopt;
    if (span.times)
        return nearestOnTimes(span, pointer.x());
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
    if (row < 1 || row > records.dataRowCount() || (span.times && row > span.times->size()))
        return std::nullopt;
    const int r = static_cast<int>(row);
    const QStringView value = records.cellView(r, RecordTableModel::kValueColumn);
    const ChartLayout& l = span.layout;
    const double h = ValueHeight(value, span.bottom, span.top, l.PlotHeight).value_or(0);
    PlotReadout readout;
    const double x = span.times ? (span.times->at(row - 1) - span.timeFrom) * pixelsPerSecond(span)
                                : static_cast<double>(*k - 1) * span.step;
    readout.point = QPointF(l.AxisX + x, l.Baseline - h);
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
