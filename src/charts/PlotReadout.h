#pragma once

#include "common/ChartLayout.h"

#include <QPointF>
#include <QRect>
#include <QString>
#include <QStringList>
#include <optional>

class PlotTimes;
class QFont;
class QPainter;
class RecordTableModel;
struct PlotState;

// Where a record plot put its records: evenly spread from the value axis, record k (from 1) at
// AxisX + (k - 1) x step, as the plot drew them; or, with the list's times, each at its time on
// an axis from timeFrom to timeTo.
struct PlotSpan {
    ChartLayout layout;
    double bottom = 0;
    double top = 0;
    double step = 0;
    long long firstRow = 0;
    long long count = 0;
    QString unit;
    const PlotTimes* times = nullptr;
    double timeFrom = 0;
    double timeTo = 0;
};
// The span the plot about to be drawn takes from the state; on a clock-time axis, with the
// list's times.
PlotSpan plotSpanOf(const PlotState& state, const PlotTimes* times = nullptr);

// The record (from 1) nearest to a pointer over the plot area, found from x alone; nullopt when
// the pointer is not over the plot area or nothing was plotted.
std::optional<long long> nearestRecord(const PlotSpan& span, QPointF pointer);

// What the pointer over a plot shows: a mark on the trace at the nearest record and its number,
// time and value beside the pointer.
struct PlotReadout {
    QPointF point;
    QStringList lines;
};
std::optional<PlotReadout> plotReadout(const PlotSpan& span, const RecordTableModel& records,
                                       QPointF pointer);

// The pixels the readout covers in a font: the mark, and the box with its lines below and to
// the right of the pointer, turned back inside `bounds` where it would leave them.
QRect plotReadoutBounds(const QFont& font, const PlotReadout& readout, QPointF pointer,
                        const QRect& bounds);
void drawPlotReadout(QPainter& painter, const PlotReadout& readout, QPointF pointer,
                     const QRect& bounds);
