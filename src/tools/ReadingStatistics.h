#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

struct LiveReading;

// Maximum, minimum and mean of a series of numbers. The sum is compensated (Neumaier), so the
// mean of a day of readings at the poll's pace keeps every digit the meter shows.
class RunningStatistics {
public:
    void add(double value);

    long long count() const { return m_count; }
    // nullopt while nothing was added.
    std::optional<double> maximum() const;
    std::optional<double> minimum() const;
    std::optional<double> mean() const;

private:
    long long m_count = 0;
    double m_max = 0;
    double m_min = 0;
    double m_sum = 0;
    double m_compensation = 0;
};

// The statistics of the live reading since they started: every frame the poll decodes counts
// once, "OL" separately, a text with letters not at all. A frame in another unit or range
// starts them again, since its readings cannot be compared with those before.
class ReadingStatistics {
public:
    enum class Event {
        None,         // no frame since the last update
        Counted,      // a reading joined the statistics
        Overload,     // an "OL" frame was counted
        Skipped,      // the frame held no number
        UnitChanged,  // started again with this frame
        RangeChanged, // started again with this frame
    };

    // Starts with the unit and range the state shows; frames decoded before now do not count.
    ReadingStatistics(const LiveReading& reading, double now);

    // Takes the frame the poll decoded since the last update, if any. Frames that came while
    // nothing updated (the timers held off by a long plot) are lost except the last.
    Event update(double now);
    // Starts again from now, in the live unit and range.
    void reset(double now);

    const RunningStatistics& readings() const { return m_readings; }
    long long overloads() const { return m_overloads; }
    double started() const { return m_started; }
    const QString& unit() const { return m_unit; }
    std::optional<qint16> range() const { return m_range; }

private:
    const LiveReading& m_state;
    quint64 m_frames = 0;
    double m_started = 0;
    QString m_unit;
    std::optional<qint16> m_range;
    RunningStatistics m_readings;
    long long m_overloads = 0;
};

// What the statistics window shows, in the unit of the readings: maximum and minimum at the
// range's resolution, the average one digit finer, the elapsed time as "h:mm:ss".
struct StatisticsTexts {
    QString maximum;
    QString minimum;
    QString average;
    QString count;
    QString overloads;
    QString elapsed;
};
StatisticsTexts statisticsTexts(const ReadingStatistics& statistics, double now);

// The note shown when a frame started the statistics again; empty for other events.
QString restartNote(ReadingStatistics::Event event, const ReadingStatistics& statistics);
