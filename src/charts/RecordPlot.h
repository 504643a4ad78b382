#pragma once

#include "charts/PlotValues.h"
#include "common/ChartLayout.h"

#include <QColor>
#include <QLineF>
#include <QSizeF>
#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

class PlotTimes;
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

// Gathers a trace's segments for drawing with the aliased 1-pixel cosmetic pen (square caps),
// turning each chain of segments that stays in one pixel column into one vertical line over the
// same pixels. The pen works in 1/64 pixels: a segment steeper than 45 degrees covers rows
// floor(y1) to floor(y2) of its column, one pixel each, a flatter one columns floor(x1) to
// floor(x2), one pixel each, and one whose ends meet there draws nothing. Half a pixel of cap
// at each end makes the pen reach slightly past the ends, along the segment's slope: a segment
// joins a run only while that reach, and the fixed-point rounding, stay in its column.
// The points are device pixels (the painter's transform already applied).
class ColumnRuns {
public:
    // Adds the segment from `from` to `to`, continuing the previous one.
    void add(QPointF from, QPointF to, std::vector<QLineF>& out);
    // Ends the run under way, if any, into `out`.
    void close(std::vector<QLineF>& out);
    // Takes the painter's device and transform for the segments to come; with any transform
    // but a whole-pixel move, or a pen other than the aliased one, every segment is drawn as
    // it is.
    void follow(const QPainter& painter);

private:
    bool m_reducing = false;
    QPointF m_offset;
    QSizeF m_bounds;
    bool m_open = false;
    long long m_column = 0;
    long long m_firstRow = 0;
    long long m_lastRow = 0;
};

// Plots records PlotFirst to PlotLast of a list (time in column 1, value in column 2) on
// PlotLayout, a slice at a time, so the window stays responsive and can show the progress.
//
// The picture is the one the record-by-record drawing gives, where every record redraws the
// whole grid before its segment: the grid lies over every segment but the last. Drawing every
// segment but the last, then the grid once, then the last segment and its mark gives the same
// pixels at a fraction of the cost. The marks are drawn between the segments in record order,
// as they overlap them.
//
// A million records put hundreds of segments in each pixel column. The 1-pixel pen draws a
// segment that certainly stays in one column as a run of rows there, so a chain of such
// segments is drawn as one line over the rows they cover; every other segment is drawn as it
// is (ColumnRuns has the rules).
//
// On a clock-time axis (PlotTimeAxis) each record stands at its time, the trace broken where
// traceJoins says the meter stopped logging, a record joined to neither neighbour drawn as a
// dot; the records just outside the axis's times lead the trace to its edges. Every segment is
// drawn first, then the grid over them, then the labels at round times.
class RecordPlotter {
public:
    // Takes the span, limits, step and layout from the state as they are now, and reads the
    // values of the records to plot.
    // A plot on a clock-time axis needs the list's times, brought up to date by the caller and
    // living, unchanged, as long as this plotter.
    RecordPlotter(const RecordTableModel& records, const SharedState& state,
                  const PlotTimes* times = nullptr);
    // The same with the list's values kept by the caller: they are brought up to date here and
    // must live, unchanged, as long as this plotter.
    RecordPlotter(const RecordTableModel& records, PlotValues& values, const SharedState& state,
                  const PlotTimes* times = nullptr);

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
    RecordPlotter(const RecordTableModel& records, const SharedState& state, PlotValues* values,
                  const PlotTimes* times);
    void flush(QPainter& painter);
    void drawMark(QPainter& painter, PlotMark mark, long long row);
    // The clock-time axis's plotting (TimeAxisPlot.cpp).
    void startOnTimes(const SharedState& state, const PlotTimes* times);
    void plotOnTimes(QPainter& painter, long long records, const double* values);
    void drawTimeLabels(QPainter& painter);

    const RecordTableModel& m_records;
    // The caller's values, or m_ownValues read for this plot alone.
    const PlotValues* m_values = nullptr;
    std::vector<double> m_ownValues;
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
    ColumnRuns m_runs;
    // The marks still to come, in record order.
    std::vector<std::pair<long long, PlotMark>> m_marks;
    size_t m_nextMark = 0;
    // Labels that would overlap one before or leave the picture are left out.
    bool m_labelsApart = false;
    double m_labelsEnd = 0;

    // The clock-time axis: the times of the records plotted, the axis's first time and scale,
    // the previous record's time and whether it joined the one before it.
    bool m_onTimes = false;
    const double* m_times = nullptr;
    double m_timeFrom = 0;
    double m_timeTo = 0;
    double m_pixelsPerSecond = 0;
    double m_interval = 0;
    double m_prevTime = 0;
    bool m_prevPlaced = false;
    bool m_prevJoined = false;
};
