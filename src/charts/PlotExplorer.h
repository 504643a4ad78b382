#pragma once

#include "charts/PlotZoom.h"

#include <QString>

class PlotTimes;
class RecordTableModel;
struct AlarmState;
struct PlotState;
struct SharedState;
struct SpanLimits;
struct SpanStatistics;

// Zoom and pan over the records a plot's range chose, as plot state: the window turns the
// pointer, the wheel and the keys into zoom steps, this turns the view into the records the
// plot draws (PlotFirst, PlotLast, PlotCount).
//
// With records evenly spread the view's positions are records (from 0 within the whole); on a
// clock-time axis they are seconds from the first record's time, and the view is a span of
// time: the records in it, with the one before and the one after to lead the trace to its edges.
class PlotExplorer {
public:
    const PlotZoom& zoom() const { return m_zoom; }
    PlotZoom& zoom() { return m_zoom; }

    // Takes the records the state chooses as the whole, unless this put them there: the range
    // dialog or a new list chose them; on a clock-time axis the state takes their times.
    void follow(PlotState& state);
    // Switches the axis between records evenly spread and records at their times (`times`, kept
    // up to date by the caller, lives as long as this), showing about the same stretch of the
    // list. False, with nothing changed, when no record's time can be read.
    bool setTimeAxis(bool on, const PlotTimes& times, PlotState& state, double intervalSeconds);
    bool timeAxis() const { return m_times != nullptr; }
    // Puts the view's records into the state: whole records from the first one partly in view
    // to the last, or on a clock-time axis its times as well. False when they are shown already.
    bool show(PlotState& state);
    // The position the plot puts at x.
    double positionAt(const PlotState& state, double x) const;
    // The window's caption, with the records in view while zoomed: "Plot Data/File - records
    // 101 to 250 of 86400".
    QString caption(const QString& base, const PlotState& state) const;
    // The figures of the records in view, each held for the list's sampling interval (read
    // from its stamps once a whole), against the alarm's limits while it is on.
    SpanStatistics statistics(const RecordTableModel& records, const SharedState& state);

private:
    // The whole's records (indexes from 0 in the list) and, on a clock-time axis, its times.
    void takeWhole(long long first, long long last);
    // The records (from 0 in the list) in the view.
    std::pair<long long, long long> recordsInView(const PlotState& state) const;

    PlotZoom m_zoom;
    const PlotTimes* m_times = nullptr;
    long long m_wholeFirst = 0;
    long long m_wholeLast = -1;
    double m_wholeTime = 0;
    double m_shownFirst = -1;
    double m_shownLast = -1;
    double m_interval = -1;
};

// The alarm's limits for a plot in `unit`, while the alarm is on for that unit.
SpanLimits alarmLimitsFor(const AlarmState& alarm, const QString& unit);
