#include "charts/RecordPlot.h"

#include "charts/ChartDrawing.h"
#include "charts/ChartScale.h"
#include "common/NumberText.h"
#include "common/SharedState.h"
#include "records/RecordTableModel.h"

#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

// Pixels between two time labels, at least, where labels are left out to keep them apart.
constexpr double kLabelGap = 6;

// (j x count rounded to the nearest integer) divided by d, the remainder dropped.
long long q(int j, int d, double count) {
    return static_cast<long long>(roundHalfEven(j * count)) / d;
}

// Pixels the pen draws for one segment, when they are certain: a run of rows in one column, or
// nothing at all. Coordinates are device pixels inside the device, so nothing is clipped.
struct Cover {
    bool nothing = false;
    long long column = 0;
    long long firstRow = 0;
    long long lastRow = 0;
};

// The pen's fixed point: 1/64 pixel, the fraction dropped.
long long fixed(double coordinate) {
    return static_cast<int>(coordinate * 64.);
}

std::optional<Cover> coverOf(QPointF from, QPointF to, QSizeF bounds) {
    // Ends that are the same point draw a dot, left as it is.
    if (from == to)
        return std::nullopt;
    for (const double v : {from.x(), to.x()}) {
        if (!(v >= 0 && v <= bounds.width()))
            return std::nullopt;
    }
    for (const double v : {from.y(), to.y()}) {
        if (!(v >= 0 && v <= bounds.height()))
            return std::nullopt;
    }
    const long long x1 = fixed(from.x());
    const long long y1 = fixed(from.y());
    const long long x2 = fixed(to.x());
    const long long y2 = fixed(to.y());
    const long long dx = std::abs(x2 - x1);
    const long long dy = std::abs(y2 - y1);
    if (dx == 0 && dy == 0)
        return Cover{true};
    // The cap moves the first pixel's sample point up to a pixel before the start and half a
    // pixel past the end along the long axis; the short axis follows the slope that far, and
    // the fixed-point slope loses up to 1/65536 pixel per pixel stepped.
    if (dx < dy) {
        const long long reach = (dx * 64 + dy - 1) / dy + 8 + (dy >> 16);
        const long long lo = std::min(x1, x2) - reach;
        const long long hi = std::max(x1, x2) + reach;
        if (lo < 0 || (lo >> 6) != (hi >> 6))
            return std::nullopt;
        return Cover{false, lo >> 6, std::min(y1, y2) >> 6, std::max(y1, y2) >> 6};
    }
    if ((x1 >> 6) != (x2 >> 6))
        return std::nullopt;
    const long long reach = (dy * 64 + dx - 1) / dx + 8 + (dx >> 16);
    const long long lo = std::min(y1, y2) - reach;
    const long long hi = std::max(y1, y2) + reach;
    if (lo < 0 || (lo >> 6) != (hi >> 6))
        return std::nullopt;
    return Cover{false, x1 >> 6, lo >> 6, lo >> 6};
}

} // namespace

void ColumnRuns::follow(const QPainter& painter) {
    const QTransform t = painter.combinedTransform();
    const QPaintDevice* device = painter.device();
    // Pixels of an image only: a widget's painter may carry an offset to its window.
    m_reducing = device && device->devType() == QInternal::Image && painter.paintEngine() &&
                 painter.paintEngine()->type() == QPaintEngine::Raster &&
                 !painter.testRenderHint(QPainter::Antialiasing) &&
                 t.type() <= QTransform::TxTranslate && t.dx() == std::trunc(t.dx()) &&
                 t.dy() == std::trunc(t.dy()) && std::abs(t.dx()) < 1e6 && std::abs(t.dy()) < 1e6;
    if (!m_reducing)
        return;
    m_offset = QPointF(t.dx(), t.dy());
    m_bounds = QSizeF(device->width() - 1, device->height() - 1);
}

void ColumnRuns::add(QPointF from, QPointF to, std::vector<QLineF>& out) {
    const std::optional<Cover> cover =
        m_reducing ? coverOf(from + m_offset, to + m_offset, m_bounds) : std::nullopt;
    if (!cover) {
        close(out);
        out.emplace_back(from, to);
        return;
    }
    if (cover->nothing)
        return;
    if (m_open && cover->column == m_column) {
        m_firstRow = std::min(m_firstRow, cover->firstRow);
        m_lastRow = std::max(m_lastRow, cover->lastRow);
        return;
    }
    close(out);
    m_open = true;
    m_column = cover->column;
    m_firstRow = cover->firstRow;
    m_lastRow = cover->lastRow;
}

void ColumnRuns::close(std::vector<QLineF>& out) {
    if (!m_open)
        return;
    m_open = false;
    // A vertical line from a quarter into the first row to three quarters into the last covers
    // those rows of the column exactly, however few.
    const double x = static_cast<double>(m_column) + 0.5;
    out.emplace_back(QPointF(x, static_cast<double>(m_firstRow) + 0.25) - m_offset,
                     QPointF(x, static_cast<double>(m_lastRow) + 0.75) - m_offset);
}

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

RecordPlotter::RecordPlotter(const RecordTableModel& records, const SharedState& state,
                             const PlotTimes* times)
    : RecordPlotter(records, state, nullptr, times) {}

RecordPlotter::RecordPlotter(const RecordTableModel& records, PlotValues& values,
                             const SharedState& state, const PlotTimes* times)
    : RecordPlotter(records, state, &values, times) {}

RecordPlotter::RecordPlotter(const RecordTableModel& records, const SharedState& state,
                             PlotValues* values, const PlotTimes* times)
    : m_records(records)
    , m_layout(state.PlotLayout)
    , m_grid(paletteColour(state.GridColour))
    , m_bottom(state.PlotBottom)
    , m_top(state.PlotTop)
    , m_step(state.PlotStep)
    , m_firstRow(std::llround(state.PlotFirst))
    , m_count(std::max(0LL, std::llround(state.PlotCount)))
    , m_x(-state.PlotStep)
    , m_labelsApart(state.PlotZoomed) {
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
    if (state.PlotTimeAxis) {
        startOnTimes(state, times);
        if (m_problem)
            return;
    }
    if (values) {
        values->update(m_records);
        m_values = values;
    } else {
        // Only the records plotted: a zoomed view reads a few of a long list.
        m_ownValues.reserve(static_cast<size_t>(m_count));
        for (long long row = m_firstRow; row <= lastRow; ++row)
            m_ownValues.push_back(plotValue(
                m_records.cellView(static_cast<int>(row), RecordTableModel::kValueColumn)));
    }
    if (m_onTimes)
        return;
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
    // The value of the k-th record plotted is values[k - 1].
    const double* values = m_ownValues.data();
    if (m_values) {
        if (m_values->size() < m_firstRow + m_count - 1)
            throw std::runtime_error("its list has changed.");
        values = m_values->data() + (m_firstRow - 1);
    }
    m_runs.follow(painter);
    if (m_onTimes) {
        plotOnTimes(painter, records, values);
        return;
    }
    const double height = m_layout.PlotHeight;
    const double axisX = m_layout.AxisX;
    const double baseline = m_layout.Baseline;
    for (; records > 0 && m_k < m_count; --records) {
        ++m_k;
        m_x += m_step;
        const double h = plotValueHeight(values[m_k - 1], m_bottom, m_top, height).value_or(0);
        const QPointF point(axisX + m_x, baseline - h);
        const bool segment = m_prevX != 0 && m_x != 0;
        const QPointF previous(m_prevX, m_prevY);
        m_prevY = point.y();
        m_prevX = point.x();

        const bool marked = m_nextMark < m_marks.size() && m_marks[m_nextMark].first == m_k;
        const PlotMark mark = marked ? m_marks[m_nextMark++].second : PlotMark::None;
        if (m_k == m_count) {
            flush(painter);
            DrawChartGrid(painter, m_layout, m_grid);
            if (segment)
                drawSegment(painter, previous, point, Qt::black);
            drawMark(painter, mark, lastRow());
            break;
        }
        if (segment)
            m_runs.add(previous, point, m_pending);
        if (mark != PlotMark::None) {
            flush(painter);
            drawMark(painter, mark, lastRow());
        }
    }
    flush(painter);
}

void RecordPlotter::flush(QPainter& painter) {
    m_runs.close(m_pending);
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
    case PlotMark::Time: {
        const QStringView time =
            m_records.cellView(static_cast<int>(row), RecordTableModel::kTimeColumn);
        if (m_labelsApart) {
            // Where drawPlotTimeMark puts the label.
            const double w = textWidth(painter, time.right(8).toString());
            const double left =
                m_layout.AxisX + m_x - w / 2 - (m_k == 1 ? 10 : 0) - (m_k == m_count ? 10 : 0);
            const double deviceWidth = painter.device() ? painter.device()->width() : 0;
            if (left < m_labelsEnd || left < 0 || left + w > deviceWidth) {
                DrawTimeGridLine(painter, m_layout, m_x, m_grid);
                break;
            }
            m_labelsEnd = left + w + kLabelGap;
        }
        drawPlotTimeMark(painter, m_layout, m_x, time, m_k == 1, m_k == m_count, m_grid);
        break;
    }
    case PlotMark::Mid:
        DrawMidTick(painter, m_layout, m_x, m_grid);
        break;
    case PlotMark::None:
        break;
    }
}
