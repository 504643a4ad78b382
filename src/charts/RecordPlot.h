#pragma once

#include "common/ChartLayout.h"

#include <QColor>
#include <QLineF>
#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

class QPainter;
class RecordTableModel;
struct SharedState;

// What a plot of `count` records marks at its k-th record (from 1): the time of day under the
// first record, the last and the quarters, a mid mark at the eighths between them.
enum class PlotMark { None, Time, Mid };
PlotMark plotMarkAt(long long k, double count);

// A time mark at plotX (relative to the value axis): the dotted line and, under the axis, the
// last 8 characters of the record's time, centred on the line; the labels of the first and the
// last record are moved 10 pixels to the left each, so a single record's label moves 20.
void drawPlotTimeMark(QPainter& painter, const ChartLayout& layout, double plotX, QStringView time,
                      bool first, bool last, const QColor& grid);

// Plots records PlotFirst to PlotLast of a list (time in column 1, value in column 2) on
// PlotLayout, a slice at a time, so the window stays responsive and can show the progress.
//
// The picture is the one the record-by-record drawing gives, where every record redraws the
// whole grid before its segment: the grid lies over every segment but the last. Drawing every
// segment but the last, then the grid once, then the last segment and its mark gives the same
// pixels at a fraction of the cost. The marks are drawn between the segments in record order,
// as they overlap them. Every segment is drawn: reducing a pixel column to its extreme points
// would miss the odd pixel that a short segment's end caps reach into a neighbouring column.
class RecordPlotter {
public:
    // Takes the span, limits, step and layout from the state as they are now.
    RecordPlotter(const RecordTableModel& records, const SharedState& state);

    // Why these records cannot be plotted (an axis without height, records missing from the
    // list); nothing is drawn then.
    std::optional<QString> problem() const { return m_problem; }
    bool finished() const { return m_problem || m_k >= m_count; }

    // Plots up to `records` more records.
    void plotNext(QPainter& painter, long long records);

    // The grid row of the last record plotted, for the progress caption.
    long long lastRow() const { return m_firstRow + m_k - 1; }
    // The pen's position relative to the value axis and the last point's x, as PlotX and
    // PlotPrevX keep them.
    double plotX() const { return m_x; }
    double prevX() const { return m_prevX; }

private:
    void flush(QPainter& painter);
    void drawMark(QPainter& painter, PlotMark mark, long long row);

    const RecordTableModel& m_records;
    ChartLayout m_layout;
    QColor m_grid;
    double m_bottom;
    double m_top;
    double m_step;
    long long m_firstRow;
    long long m_count;
    std::optional<QString> m_problem;

    long long m_k = 0;
    double m_x;
    double m_prevX = 0;
    double m_prevY = 0;
    bool m_started = false;
    std::vector<QLineF> m_pending;
    // The marks still to come, in record order.
    std::vector<std::pair<long long, PlotMark>> m_marks;
    size_t m_nextMark = 0;
};
