#pragma once

#include <QString>
#include <QTimeZone>
#include <optional>

class TextTableModel;

// One logged set as spreadsheets and scripts take it, from the set list's row.
struct SetExportRow {
    QString set;
    QString start; // ISO 8601 with the offset: "2010-06-22T14:05:09+02:00"
    std::optional<int> range;
    QString unit;
    QString interval; // seconds
    QString records;
    QString meterId;
};

// Row `row` (1..) of the set list. The start is the meter's date and time as a local time of
// `zone`; one that does not exist is given as the list shows it.
SetExportRow setExportRow(const TextTableModel& sets, int row, const QString& meterId,
                          const QTimeZone& zone = QTimeZone::systemTimeZone());

// RFC 4180 as the record export: set,start,range,unit,interval,records,meter_id and, for
// spreadsheets, local_start: the start without its offset. Without CR LF.
QString setCsvHeader();
QString setCsvLine(const SetExportRow& row);
// One JSON object, the keys up to meter_id; numbers as numbers, range null where the list shows
// none.
QString setJsonLine(const SetExportRow& row);
