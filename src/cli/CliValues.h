#pragma once

#include <QDateTime>
#include <QString>
#include <QStringView>
#include <optional>

struct ExportRow;
struct SharedState;

// How "read" and "download" write what they got.
enum class OutputFormat { Text, Csv, Jsonl };
// "text", "csv" or "jsonl"; nullopt for anything else.
std::optional<OutputFormat> parseOutputFormat(QStringView text);

// The longest --for the program accepts: ten years.
inline constexpr qint64 kMaxDurationSeconds = qint64{3650} * 86400;

// A whole number written with digits only, within min..max; nullopt for anything else (signs,
// blanks, fractions, too many digits).
std::optional<qint64> parseWholeNumber(QStringView text, qint64 min, qint64 max);

// A duration of at least one second: whole numbers each followed by s, m, h or d ("90s", "24h",
// "1h30m"); a number without a unit is seconds, and only the last may go without one.
std::optional<qint64> parseDuration(QStringView text);

// Whole seconds as "h:mm:ss"; hours run past 24.
QString elapsedText(double seconds);

// ISO 8601 with the offset from UTC, written as an offset also when it is zero:
// "2026-12-07T14:05:09+00:00".
QString isoTimeWithOffset(const QDateTime& time);

// One live reading as "read" prints it: time, value, unit and range separated by blanks, then the
// status flags that are set among BAT, HOLD, MAX, FULL and REC:
// "2026-12-07T14:05:09+00:00 302 LUX 2000 BAT".
QString readingLine(const SharedState& state, const QDateTime& decodedAt);

// The same reading as an exported row: `number` counts the readings, the meter's ID is not known.
ExportRow readingRow(const SharedState& state, qint64 number, const QDateTime& decodedAt);
