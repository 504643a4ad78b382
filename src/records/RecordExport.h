#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QTimeZone>
#include <optional>

class RecordTableModel;
class RecordWriter;

// What the header line of a list says: "*ID=12 Range:2000/LUX" gives "12", 2000 and "LUX".
// Parts it lacks stay empty.
struct ListHeader {
    QString meterId;
    std::optional<int> range;
    QString unit;

    static ListHeader parse(QStringView caption);
};

// One record as spreadsheets and scripts take it.
struct ExportRow {
    QString number;
    QString time;                // ISO 8601 with the offset: "2010-06-22T14:05:09+02:00"
    std::optional<double> value; // none for "OL" and every other text that is no number
    QString reading;             // as the list shows it
    QString unit;
    std::optional<int> range;
    bool batteryLow = false;
    QString meterId;
};

// The columns of an export, in order: the keys of a JSON line.
const QStringList& exportColumns();
// A CSV's: the same and local_time, the time without its offset ("2010-06-22T14:05:09"), which
// spreadsheets take as a date and time where an offset keeps them from it.
const QStringList& csvColumns();
// "2010-06-22T14:05:09" of an exported time with its offset; empty for any other text.
QString localTimeOf(const QString& exportedTime);

// Data row `row` (1..) of a record list. The list's times are local times of `zone`; a time
// that is no valid "DD/MM/YYYY hh:nn:ss" is exported as it stands.
ExportRow exportRow(const RecordTableModel& list, int row, const ListHeader& header,
                    const QTimeZone& zone = QTimeZone::systemTimeZone());

// "2010-06-22T14:05:09+02:00" for the list's "22/06/2010 14:05:09"; nullopt for a text of
// another form or a date that does not exist.
std::optional<QString> isoTime(QStringView shown, const QTimeZone& zone);

// A CSV field: in double quotes, its own doubled, where it holds a comma, a quote or a line end.
QString csvField(const QString& field);
// A JSON string in its quotes, with the escapes JSON needs.
QString jsonString(const QString& text);

// RFC 4180: the header row and a record's row, each without its CR LF.
QString csvHeader();
QString csvLine(const ExportRow& row);
// One JSON object, the same keys, `value` null where there is no number.
QString jsonLine(const ExportRow& row);

enum class ExportForm { Csv, Jsonl };
// Every record of the list, after the header row for CSV, as UTF-8; false when a line could not
// be written.
bool writeExport(RecordWriter& out, const RecordTableModel& list, const ListHeader& header,
                 ExportForm form, const QTimeZone& zone = QTimeZone::systemTimeZone());
