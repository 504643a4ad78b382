#pragma once

#include "charts/PlotZoom.h"

#include <QString>

class RecordTableModel;
struct AlarmState;
struct PlotState;
struct SharedState;
struct SpanLimits;
struct SpanStatistics;

// Zoom and pan over the records a plot's range chose, as plot state: the window turns the
// pointer, the wheel and the keys into zoom steps, this turns the view into the records the
// plot draws (PlotFirst, PlotLast, PlotCount).
class PlotExplorer {
public:
    const PlotZoom& zoom() const { return m_zoom; }
    PlotZoom& zoom() { return m_zoom; }

    // Takes the records the state chooses as the whole, unless this put them there: the range
    // dialog or a new list chose them.
    void follow(const PlotState& state);
    // Puts the view's records into the state: whole records from the first one partly in view
    // to the last. False when they are the ones shown already.
    bool show(PlotState& state);
    // The position (from 0 within the whole) of the record the plot puts at x.
    double positionAt(const PlotState& state, double x) const;
    // The window's caption, with the records shown while zoomed: "Plot Data/File - records 101
    // to 250 of 86400".
    QString caption(const QString& base, const PlotState& state) const;
    // The figures of the records the state shows, each held for the list's sampling interval
    // (read from its stamps once a whole), against the alarm's limits while it is on.
    SpanStatistics statistics(const RecordTableModel& records, const SharedState& state);

private:
    PlotZoom m_zoom;
    long long m_wholeFirst = 1;
    double m_shownFirst = -1;
    double m_shownLast = -1;
    double m_interval = -1;
};

// The alarm's limits for a plot in `unit`, while the alarm is on for that unit.
SpanLimits alarmLimitsFor(const AlarmState& alarm, const QString& unit);
