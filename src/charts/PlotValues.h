#pragma once

#include <QStringView>
#include <optional>
#include <vector>

class RecordTableModel;

// readingNumber's value of a reading, read without building any text: the same double, bit for
// bit, for the plot's hundreds of thousands of cells.
double readingValue(QStringView reading);

// What the plot keeps of a value cell: its reading's number, or a mark for the meter's texts
// that are drawn above the plot ("OL", "----") and below it ("-OL").
double plotValue(QStringView text);

// Height above the baseline of a value kept by plotValue: ValueHeight's height of its text.
std::optional<double> plotValueHeight(double value, double axisMin, double axisMax,
                                      double plotHeight);

// The values of a list's records, each cell read once and kept for every plot of the list:
// resizes and zoom or pan steps plot again from here. A window keeps one beside the list it
// plots and hands it to each RecordPlotter, which brings it up to date: a list only grows, so
// only the rows added since are read.
class PlotValues {
public:
    PlotValues() = default;
    explicit PlotValues(const RecordTableModel& records) { update(records); }

    // Reads the rows added since the last update; a list with fewer rows than were read is
    // another list, read afresh.
    void update(const RecordTableModel& records);

    long long size() const { return static_cast<long long>(m_values.size()); }
    // The kept value of data row `row` (from 1).
    double at(long long row) const { return m_values[static_cast<size_t>(row - 1)]; }
    const double* data() const { return m_values.data(); }

private:
    std::vector<double> m_values;
};
