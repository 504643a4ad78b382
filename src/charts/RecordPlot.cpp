#include "charts/RecordPlot.h"

#include "charts/ChartDrawing.h"
#include "charts/ChartScale.h"
#include "common/NumberText.h"
#include "common/SharedState.h"
#include "records/RecordTableModel.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

// (j x count rounded to the nearest integer) divided by d, the remainder dropped.
long long q(int j, int d, double count) {
    return static_cast<long long>(roundHalfEven(j * count)) / d;
}

} // namespace

PlotMark plotMarkAt(long long k, double count) {
    if (k == 1)
        return PlotMark::Time;
    for (int j = 1; j <= 4; ++j) {
        if (k == q(j, 4, count))
            return PlotMark::Time;
    }
    for (int j = 1; j <= 8; ++j) {
        if (k == q(j, 8, count))
            return PlotMark::Mid;
    }
    return PlotMark::None;
}

void drawPlotTimeMark(QPainter& painter, const ChartLayout& layout, double plotX, QStringView time,
                      bool first, bool last, const QColor& grid) {
    DrawTimeGridLine(painter, layout, plotX, grid);
    const QString label = time.right(8).toString();
    double left = layout.AxisX + plotX - textWidth(painter, label) / 2;
    if (first)
        left -= 10;
    if (last)
        left -= 10;
    drawTextAt(painter, QPointF(left, layout.Baseline + 10), label);
}

RecordPlotter::RecordPlotter(const RecordTableModel& records, const SharedState& state)
    : m_records(records)
    , m_layout(state.PlotLayout)
    , m_grid(paletteColour(state.GridColour))
    , m_bottom(state.PlotBottom)
    , m_top(state.PlotTop)
    , m_step(state.PlotStep)
    , m_firstRow(std::llround(state.PlotFirst))
    , m_count(std::max(0LL, std::llround(state.PlotCount)))
    , m_x(-state.PlotStep) {
    if (m_count == 0)
        return;
    if (m_top == m_bottom) {
        m_problem = QStringLiteral("The plot cannot be drawn: its value axis runs from %1 to %2.")
                        .arg(numberText(m_bottom), numberText(m_top));
        return;
    }
    const long long lastRow = m_firstRow + m_count - 1;
    if (m_firstRow < 1 || lastRow > m_records.dataRowCount()) {
        m_problem = QStringLiteral("The plot cannot be drawn: the list holds %1 records, not "
                                   "records %2 to %3.")
                        .arg(m_records.dataRowCount())
                        .arg(m_firstRow)
                        .arg(lastRow);
        return;
    }
    // Every mark lies at the first record or at a quarter or an eighth of the way.
    const auto count = static_cast<double>(m_count);
    std::vector<long long> candidates{1};
    for (int j = 1; j <= 8; ++j) {
        candidates.push_back(q(j, 8, count));
        if (j <= 4)
            candidates.push_back(q(j, 4, count));
    }
    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    for (const long long k : candidates) {
        if (k < 1 || k > m_count)
            continue;
        if (const PlotMark mark = plotMarkAt(k, count); mark != PlotMark::None)
            m_marks.emplace_back(k, mark);
    }
}

void RecordPlotter::plotNext(QPainter& painter, long long records) {
    if (finished())
        return;
    if (!m_started) {
        // The final grid covers this one; drawn now, it shows while the trace grows.
        DrawChartGrid(painter, m_layout, m_grid);
        m_started = true;
    }
    const double height = m_layout.PlotHeight;
    for (; records > 0 && m_k < m_count; --records) {
        ++m_k;
        const long long row = lastRow();
        m_x += m_step;
        const QStringView value =
            m_records.cellView(static_cast<int>(row), RecordTableModel::kValueColumn);
        const double h = ValueHeight(value, m_bottom, m_top, height).value_or(0);
        const QPointF point(m_layout.AxisX + m_x, m_layout.Baseline - h);
        const bool segment = m_prevX != 0 && m_x != 0;
        if (segment)
            m_pending.emplace_back(QPointF(m_prevX, m_prevY), point);
        m_prevY = point.y();
        m_prevX = point.x();

        const bool marked = m_nextMark < m_marks.size() && m_marks[m_nextMark].first == m_k;
        const PlotMark mark = marked ? m_marks[m_nextMark++].second : PlotMark::None;
        if (m_k == m_count) {
            std::optional<QLineF> lastSegment;
            if (segment) {
                lastSegment = m_pending.back();
                m_pending.pop_back();
            }
            flush(painter);
            DrawChartGrid(painter, m_layout, m_grid);
            if (lastSegment)
                drawSegment(painter, lastSegment->p1(), lastSegment->p2(), Qt::black);
            drawMark(painter, mark, row);
        } else if (mark != PlotMark::None) {
            flush(painter);
            drawMark(painter, mark, row);
        }
    }
    flush(painter);
}

void RecordPlotter::flush(QPainter& painter) {
    if (m_pending.empty())
        return;
    QPen pen(Qt::black, 1);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.drawLines(m_pending.data(), static_cast<int>(m_pending.size()));
    m_pending.clear();
}

void RecordPlotter::drawMark(QPainter& painter, PlotMark mark, long long row) {
    switch (mark) {
    case PlotMark::Time:
        drawPlotTimeMark(painter, m_layout, m_x,
                         m_records.cellView(static_cast<int>(row), RecordTableModel::kTimeColumn),
                         m_k == 1, m_k == m_count, m_grid);
        break;
    case PlotMark::Mid:
        DrawMidTick(painter, m_layout, m_x, m_grid);
        break;
    case PlotMark::None:
        break;
    }
}
