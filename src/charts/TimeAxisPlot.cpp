// The record plot on a clock-time axis.

#include "charts/ChartDrawing.h"
#include "charts/PlotTimes.h"
#include "charts/PlotValues.h"
#include "charts/RecordPlot.h"
#include "charts/TimeAxis.h"
#include "common/SharedState.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

constexpr double kTimeLabelGap = 6;

// How far labels may stand out past the axis's ends: into the margins beside the plot area,
// short of the picture's edges.
std::pair<double, double> labelOverhangs(const QPainter& painter, const ChartLayout& layout) {
    const double width = painter.device() ? painter.device()->width() : 0;
    return {std::max(0.0, layout.AxisX - 2.0),
            std::max(0.0, width - layout.AxisX - layout.PlotWidth - 2)};
}

} // namespace

void RecordPlotter::startOnTimes(const SharedState& state, const PlotTimes* times) {
    if (!times || times->size() < m_firstRow + m_count - 1) {
        m_problem = QStringLiteral("The plot cannot be drawn: the times of its records have not "
                                   "been read.");
        return;
    }
    m_onTimes = true;
    m_times = times->times().data() + (m_firstRow - 1);
    m_timeFrom = state.PlotTimeFrom;
    m_timeTo = state.PlotTimeTo;
    // An axis over a single moment puts its records at the left edge.
    const double seconds = m_timeTo > m_timeFrom ? m_timeTo - m_timeFrom : 1;
    m_pixelsPerSecond = m_layout.PlotWidth / seconds;
    m_interval = state.PlotInterval;
}

void RecordPlotter::plotOnTimes(QPainter& painter, long long records, const double* values) {
    const double height = m_layout.PlotHeight;
    const double axisX = m_layout.AxisX;
    const double baseline = m_layout.Baseline;
    // The records just outside the axis's times lead the trace to its edges and no further.
    painter.save();
    const double left = std::floor(axisX);
    painter.setClipRect(QRectF(left, -1e6, std::floor(axisX + m_layout.PlotWidth) - left + 1, 2e6),
                        Qt::IntersectClip);
    auto endLone = [&] {
        // A record joined to neither neighbour shows as a dot.
        if (m_prevPlaced && !m_prevJoined)
            m_runs.add(QPointF(m_prevX, m_prevY), QPointF(m_prevX, m_prevY), m_pending);
    };
    for (; records > 0 && m_k < m_count; --records) {
        ++m_k;
        const double t = m_times[m_k - 1];
        if (std::isnan(t)) {
            endLone();
            m_prevPlaced = false;
            continue;
        }
        m_x = (t - m_timeFrom) * m_pixelsPerSecond;
        const double h = plotValueHeight(values[m_k - 1], m_bottom, m_top, height).value_or(0);
        const QPointF point(axisX + m_x, baseline - h);
        const bool joins = m_prevPlaced && traceJoins(m_prevTime, t, m_interval);
        if (joins)
            m_runs.add(QPointF(m_prevX, m_prevY), point, m_pending);
        else
            endLone();
        m_prevJoined = joins;
        m_prevPlaced = true;
        m_prevTime = t;
        m_prevX = point.x();
        m_prevY = point.y();
    }
    if (m_k == m_count)
        endLone();
    flush(painter);
    painter.restore();
    if (m_k == m_count) {
        DrawChartGrid(painter, m_layout, m_grid);
        drawTimeLabels(painter);
    }
}

void RecordPlotter::drawTimeLabels(QPainter& painter) {
    const auto [overLeft, overRight] = labelOverhangs(painter, m_layout);
    const TimeAxisLabels labels = timeAxisLabels(
        m_timeFrom, m_timeTo, m_layout.AxisX, m_layout.PlotWidth,
        [&painter](const QString& text) { return textWidth(painter, text); }, kTimeLabelGap,
        overLeft, overRight);
    for (const TimeLabel& label : labels.labels) {
        DrawTimeGridLine(painter, m_layout, label.x - m_layout.AxisX, m_grid);
        drawTextAt(painter,
                   QPointF(label.x - textWidth(painter, label.text) / 2, m_layout.Baseline + 10),
                   label.text);
    }
}
