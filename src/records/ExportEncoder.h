#pragma once

#include "records/RecordExport.h"

#include <QByteArray>
#include <QLatin1StringView>
#include <QTimeZone>
#include <array>

class RecordTableModel;
struct CalendarTime;

// The lines of an export as UTF-8, row after row of one list, as csvLine() and jsonLine() of
// exportRow() write them. A day of records must export in a blink: the usual row (a whole
// number, a valid time, a plain reading) is written straight from the list's bytes, the zone's
// offset is looked up once for each stretch of time it holds, and only other rows take the
// general way.
class ExportEncoder {
public:
    ExportEncoder(const ListHeader& header, ExportForm form,
                  const QTimeZone& zone = QTimeZone::systemTimeZone());

    // The CSV's header row; empty for JSON Lines. Without a line end.
    QByteArray headerLine() const;
    // Appends the line of data row `row` (1..) without its line end.
    void appendRow(QByteArray& out, const RecordTableModel& list, int row);

private:
    // Appends the row when it is a usual one; false (and nothing appended) otherwise.
    bool appendUsualRow(QByteArray& out, const RecordTableModel& list, int row);
    // Sets m_offsetText to the zone's offset at that local time; false for a time the zone
    // cannot place.
    bool findOffset(const CalendarTime& local);

    ListHeader m_header;
    ExportForm m_form;
    QTimeZone m_zone;
    // What follows the reading up to the battery, and what follows the battery.
    QByteArray m_afterReading;
    QByteArray m_afterBattery;
    // Local times in [m_from, m_to) have the offset m_offsetText.
    qint64 m_from = 0;
    qint64 m_to = 0;
    std::array<char, 6> m_offsetText{};
};
