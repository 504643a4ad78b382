#pragma once

#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

class RecordTableModel;

// The alarm limits a span is measured against; a limit that is not set is not measured.
struct SpanLimits {
    std::optional<double> high;
    std::optional<double> low;
};

// What the records of a span of a list amount to. Numbers are read by the reading rule the plot
// draws them by; "OL" and texts without a number are counted but take part in no number.
struct SpanStatistics {
    long long records = 0;
    long long overloads = 0;  // "OL"
    long long unreadable = 0; // no number and not "OL": "----", "-OL", empty cells
    long long numbers = 0;
    // The time cells of the first and the last record as the list shows them.
    QString firstTime;
    QString lastTime;
    std::optional<double> minimum;
    std::optional<double> maximum;
    std::optional<double> mean;
    // Emin/Eavg; none without numbers or when the mean is not above 0.
    std::optional<double> uniformity;
    // Each record holds its reading for one sampling interval. "OL" counts as above any high
    // limit, as the live alarm takes it; none when the limit is not set.
    std::optional<double> secondsAbove;
    std::optional<double> secondsBelow;
    // Sum of value x interval, in lux hours (foot-candle hours for a list in Fc).
    double exposure = 0;
    // Digits after the point of the finest reading, the resolution of the list.
    int decimals = 0;
    QString unit;
};

// Statistics of records `first` to `last` (indexes from 0, the title row not counted; clamped to
// the list) of a list sampled every `intervalSeconds`, in `unit` ("LUX" or "Fc"). One pass and no
// allocation per record.
SpanStatistics spanStatistics(const RecordTableModel& list, long long first, long long last,
                              double intervalSeconds, const QString& unit,
                              const SpanLimits& limits = {});

// One line of the statistics panel.
struct CaptionedText {
    QString caption;
    QString text;
    friend bool operator==(const CaptionedText&, const CaptionedText&) = default;
};

// The panel's lines in their order: "Records", "OL records", "From", "To", "Minimum", "Maximum",
// "Mean", "Uniformity", "Above high", "Below low", "Exposure". A value that does not exist
// shows as an empty text.
std::vector<CaptionedText> spanStatisticsTexts(const SpanStatistics& statistics);

// The figures in one line, for a picture: "Records 600, Minimum 95 LUX, ..."; those that do
// not exist left out.
QString spanStatisticsLine(const SpanStatistics& statistics);

// Whole seconds (rounded) as "h:mm:ss"; hours run past 24.
QString durationText(double seconds);

// "lx·h" for "LUX", "fc·h" for "Fc", the unit with "·h" otherwise.
QString exposureUnit(QStringView unit);
