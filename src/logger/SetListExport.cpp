#include "logger/SetListExport.h"

#include "common/NumberText.h"
#include "common/TextTableModel.h"
#include "records/RecordExport.h"

#include <QStringList>
#include <cmath>

namespace {

// The set list's columns: set, date, time, range and unit, interval, records.
constexpr int kSetCell = 0;
constexpr int kDateCell = 1;
constexpr int kTimeCell = 2;
constexpr int kRangeCell = 3;
constexpr int kIntervalCell = 4;
constexpr int kRecordsCell = 5;

const QStringList& setColumns() {
    static const QStringList kColumns = {
        QStringLiteral("set"),      QStringLiteral("start"),    QStringLiteral("range"),
        QStringLiteral("unit"),     QStringLiteral("interval"), QStringLiteral("records"),
        QStringLiteral("meter_id"),
    };
    return kColumns;
}

// A count as a JSON number where it is a whole one; any other text stays a string.
QString jsonCount(const QString& text) {
    const std::optional<double> n = exactNumber(text);
    if (n && *n >= 0 && *n == std::floor(*n) && *n < 1e15)
        return QString::number(static_cast<qint64>(*n));
    return jsonString(text);
}

} // namespace

SetExportRow setExportRow(const TextTableModel& sets, int row, const QString& meterId,
                          const QTimeZone& zone) {
    const auto cell = [&](int column) { return sets.cell(row, column).trimmed(); };
    SetExportRow out;
    out.set = cell(kSetCell);
    const QString shown = cell(kDateCell) + u' ' + cell(kTimeCell);
    out.start = isoTime(shown, zone).value_or(shown.trimmed());
    // "2000 LUX": the range, then the unit; either may be missing.
    const QString range = cell(kRangeCell);
    const qsizetype blank = range.lastIndexOf(u' ');
    const std::optional<double> full = exactNumber(blank < 0 ? range : range.left(blank));
    if (full && *full > 0 && *full <= 1e6 && *full == std::floor(*full))
        out.range = static_cast<int>(*full);
    if (blank >= 0)
        out.unit = range.mid(blank + 1);
    else if (!full)
        out.unit = range;
    out.interval = cell(kIntervalCell);
    out.records = cell(kRecordsCell);
    out.meterId = meterId;
    return out;
}

QString setCsvHeader() {
    return setColumns().join(u',') + QStringLiteral(",local_start");
}

QString setCsvLine(const SetExportRow& row) {
    return QStringList{csvField(row.set),
                       csvField(row.start),
                       row.range ? QString::number(*row.range) : QString(),
                       csvField(row.unit),
                       csvField(row.interval),
                       csvField(row.records),
                       csvField(row.meterId),
                       localTimeOf(row.start)}
        .join(u',');
}

QString setJsonLine(const SetExportRow& row) {
    const QStringList values = {
        jsonCount(row.set),
        jsonString(row.start),
        row.range ? QString::number(*row.range) : QStringLiteral("null"),
        jsonString(row.unit),
        jsonCount(row.interval),
        jsonCount(row.records),
        row.meterId.isEmpty() ? QStringLiteral("null") : jsonString(row.meterId),
    };
    const QStringList& keys = setColumns();
    QString line = QStringLiteral("{");
    for (qsizetype i = 0; i < keys.size(); ++i) {
        if (i > 0)
            line += u',';
        line += u'"' + keys[i] + QStringLiteral("\":") + values[i];
    }
    return line + u'}';
}
