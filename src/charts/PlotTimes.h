#pragma once

#include <span>
#include <vector>

class RecordTableModel;

// The times of a list's records (seconds on the plain calendar, NaN where a time cell cannot be
// read), each cell read once and kept for every plot of the list on a clock-time axis, as
// PlotValues keeps the values. A list only grows, so an update reads only the rows added since.
class PlotTimes {
public:
    PlotTimes() = default;
    explicit PlotTimes(const RecordTableModel& records) { update(records); }

    void update(const RecordTableModel& records);

    long long size() const { return static_cast<long long>(m_times.size()); }
    // The time of record `index` (from 0).
    double at(long long index) const { return m_times[static_cast<size_t>(index)]; }
    std::span<const double> times() const { return m_times; }
    bool anyReadable() const { return m_readable > 0; }

    // Searches over the latest time reached so far, which never goes back even where the
    // meter's clock was set back: the first index in [from, to) whose records up to it have
    // reached `t` (`to` when none has); the first index in [from, to) past `t`.
    long long firstReaching(double t, long long from, long long to) const;
    long long firstPast(double t, long long from, long long to) const;
    // The record in [from, to] whose time is nearest `t`; -1 when none has a time.
    long long nearest(double t, long long from, long long to) const;
    // The first and the latest time among records [from, to]; NaN when none can be read.
    double firstTime(long long from, long long to) const;
    double latestTime(long long from, long long to) const;

private:
    std::vector<double> m_times;
    // The latest time up to each record; -infinity before the first readable one.
    std::vector<double> m_reached;
    long long m_readable = 0;
};
