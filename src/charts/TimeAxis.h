#pragma once

#include <QString>
#include <QStringView>
#include <functional>
#include <optional>
#include <span>
#include <vector>

class RecordTableModel;

// A clock-time axis for a record plot: records at the time they were taken, the trace broken
// where the meter stopped logging, labels at round times.

// Seconds since 1970/01/01 on the plain calendar (no zone, no daylight saving) of a list's time
// cell "dd/MM/yyyy hh:mm:ss"; nullopt for any other text.
std::optional<double> shownTimeSeconds(QStringView shown);
// The other way: "dd/MM/yyyy hh:mm:ss" of a time in seconds, to the nearest second.
QString shownTimeText(double seconds);

// The times of records `first` to `last` (indexes from 0, clamped to the list); NaN where a
// time cell cannot be read.
std::vector<double> recordTimes(const RecordTableModel& list, long long first, long long last);

// The list's sampling interval in seconds, as its time stamps show it: the step that comes most
// often between the first records (the larger on a tie); 0 when no two times can be read.
double samplingInterval(const RecordTableModel& list);

// Whether the trace runs on from a record taken at `from` to the next one, taken at `to`: not
// across a step longer than twice the sampling interval (the meter stopped logging between
// them), nor back in time (its clock was set). Without a known interval only the latter breaks.
bool traceJoins(double from, double to, double intervalSeconds);

// Records first to last (indexes into the times) drawn as one line; a run of one record is a
// lone point. A record whose time is NaN has no place on the axis and is in no run.
struct TraceRun {
    long long first = 0;
    long long last = 0;
    friend bool operator==(const TraceRun&, const TraceRun&) = default;
};
std::vector<TraceRun> traceRuns(std::span<const double> times, double intervalSeconds);

// A label centred at x.
struct TimeLabel {
    double x = 0;
    QString text;
};
struct TimeAxisLabels {
    // Seconds between labels; 0 when no label fits.
    double step = 0;
    std::vector<TimeLabel> labels;
};

// The pixel width of a label's text in the axis font.
using LabelWidth = std::function<double(const QString&)>;

// Labels for an axis showing times t0 to t1 over `width` pixels from x = `left`: at the
// multiples of the smallest round step (1, 2, 5, 10, 15, 30 s, 1, 2, 5, 10, 15, 30 min, 1, 2, 3,
// 6, 12 h, 1, 2, 5, 10... days) whose labels stand at least `gap` pixels apart (1 at least); a
// label that would run past the axis's left end by more than `overhangLeft` pixels, or past its
// right end by more than `overhangRight`, is left out. Texts are "hh:mm:ss", "dd/MM
// hh:mm:ss" when the axis crosses midnight, "dd/MM/yyyy" for steps of days.
TimeAxisLabels timeAxisLabels(double t0, double t1, double left, double width,
                              const LabelWidth& labelWidth, double gap = 6, double overhangLeft = 0,
                              double overhangRight = 0);
