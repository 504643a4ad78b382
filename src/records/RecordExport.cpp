#include "records/RecordExport.h"

#include "common/CalendarTime.h"
#include "common/NumberText.h"
#include "records/ExportEncoder.h"
#include "records/RecordFile.h"
#include "records/RecordTableModel.h"

#include <QDateTime>
#include <QLocale>
#include <cmath>

namespace {

constexpr int kNumberColumn = 0;
constexpr int kBatteryColumn = 3;

// Numbers as short as they read back exactly, never in a locale's form.
QString exportNumber(double value) {
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString offsetText(int seconds) {
    const QChar sign = seconds < 0 ? u'-' : u'+';
    const int minutes = std::abs(seconds) / 60;
    return sign + QStringLiteral("%1:%2")
                      .arg(minutes / 60, 2, 10, QLatin1Char('0'))
                      .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

QString csvField(const QString& field) {
    if (!field.contains(u',') && !field.contains(u'"') && !field.contains(u'\r') &&
        !field.contains(u'\n'))
        return field;
    QString quoted = field;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString jsonString(const QString& text) {
    QString out;
    out.reserve(text.size() + 2);
    out += u'"';
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'"':
            out += QStringLiteral("\\\"");
            break;
        case u'\\':
            out += QStringLiteral("\\\\");
            break;
        case u'\n':
            out += QStringLiteral("\\n");
            break;
        case u'\r':
            out += QStringLiteral("\\r");
            break;
        case u'\t':
            out += QStringLiteral("\\t");
            break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += u'"';
    return out;
}

ListHeader ListHeader::parse(QStringView caption) {
    ListHeader header;
    const qsizetype id = caption.indexOf(u"ID=");
    if (id >= 0) {
        QStringView rest = caption.mid(id + 3);
        const qsizetype end = rest.indexOf(u' ');
        header.meterId = (end >= 0 ? rest.left(end) : rest).trimmed().toString();
    }
    const qsizetype range = caption.indexOf(u"Range:");
    if (range >= 0) {
        const QStringView rest = caption.mid(range + 6);
        const qsizetype slash = rest.indexOf(u'/');
        if (const auto n = exactNumber(slash >= 0 ? rest.left(slash) : rest);
            n && *n > 0 && *n <= 1e6 && *n == static_cast<int>(*n))
            header.range = static_cast<int>(*n);
        if (slash >= 0)
            header.unit = rest.mid(slash + 1).trimmed().toString();
    }
    return header;
}

const QStringList& exportColumns() {
    static const QStringList kColumns = {
        QStringLiteral("number"),      QStringLiteral("time"),     QStringLiteral("value"),
        QStringLiteral("reading"),     QStringLiteral("unit"),     QStringLiteral("range"),
        QStringLiteral("battery_low"), QStringLiteral("meter_id"),
    };
    return kColumns;
}

const QStringList& csvColumns() {
    static const QStringList kColumns = exportColumns() + QStringList{QStringLiteral("local_time")};
    return kColumns;
}

QString localTimeOf(const QString& exportedTime) {
    // "2010-06-22T14:05:09+02:00" as isoTime() writes it.
    const bool iso = exportedTime.size() == 25 && exportedTime[4] == u'-' &&
                     exportedTime[10] == u'T' &&
                     (exportedTime[19] == u'+' || exportedTime[19] == u'-');
    return iso ? exportedTime.left(19) : QString();
}

std::optional<QString> isoTime(QStringView shown, const QTimeZone& zone) {
    // "DD/MM/YYYY hh:nn:ss" by position, checked as the held form "YYYY/MM/DD hh:nn:ss".
    if (shown.size() != 19 || shown[2] != u'/' || shown[5] != u'/' || shown[10] != u' ')
        return std::nullopt;
    const QString held = shown.mid(6, 4).toString() + u'/' + shown.mid(3, 2).toString() + u'/' +
                         shown.mid(0, 2).toString() + shown.mid(10).toString();
    const std::optional<CalendarTime> t = CalendarTime::parse(held);
    if (!t)
        return std::nullopt;
    const QDateTime local(QDate(t->year, t->month, t->day), QTime(t->hour, t->minute, t->second),
                          zone);
    const QString clock = QStringLiteral("%1-%2-%3T%4")
                              .arg(t->year, 4, 10, QLatin1Char('0'))
                              .arg(t->month, 2, 10, QLatin1Char('0'))
                              .arg(t->day, 2, 10, QLatin1Char('0'))
                              .arg(shown.mid(11).toString());
    return clock + offsetText(zone.offsetFromUtc(local));
}

ExportRow exportRow(const RecordTableModel& list, int row, const ListHeader& header,
                    const QTimeZone& zone) {
    const auto cell = [&](int column) { return QString(list.cellText(row, column)).trimmed(); };
    ExportRow out;
    out.number = cell(kNumberColumn);
    const QString time = cell(RecordTableModel::kTimeColumn);
    out.time = isoTime(time, zone).value_or(time);
    out.reading = cell(RecordTableModel::kValueColumn);
    out.value = exactNumber(out.reading);
    if (out.value && !std::isfinite(*out.value))
        out.value.reset();
    out.unit = header.unit;
    out.range = header.range;
    out.batteryLow = cell(kBatteryColumn) == u"Low";
    out.meterId = header.meterId;
    return out;
}

QString csvHeader() {
    return csvColumns().join(u',');
}

QString csvLine(const ExportRow& row) {
    const QStringList fields = {
        csvField(row.number),
        csvField(row.time),
        row.value ? exportNumber(*row.value) : QString(),
        csvField(row.reading),
        csvField(row.unit),
        row.range ? QString::number(*row.range) : QString(),
        row.batteryLow ? QStringLiteral("true") : QStringLiteral("false"),
        csvField(row.meterId),
        localTimeOf(row.time),
    };
    return fields.join(u',');
}

QString jsonLine(const ExportRow& row) {
    const QStringList& keys = exportColumns();
    const std::optional<double> number = exactNumber(row.number);
    const QStringList values = {
        number && *number == std::floor(*number) && std::abs(*number) < 1e15
            ? QString::number(static_cast<qint64>(*number))
            : jsonString(row.number),
        jsonString(row.time),
        row.value ? exportNumber(*row.value) : QStringLiteral("null"),
        jsonString(row.reading),
        jsonString(row.unit),
        row.range ? QString::number(*row.range) : QStringLiteral("null"),
        row.batteryLow ? QStringLiteral("true") : QStringLiteral("false"),
        row.meterId.isEmpty() ? QStringLiteral("null") : jsonString(row.meterId),
    };
    QString line = QStringLiteral("{");
    for (qsizetype i = 0; i < keys.size(); ++i) {
        if (i > 0)
            line += u',';
        line += u'"' + keys[i] + QStringLiteral("\":") + values[i];
    }
    return line + u'}';
}

bool writeExport(RecordWriter& out, const RecordTableModel& list, const ListHeader& header,
                 ExportForm form, const QTimeZone& zone) {
    ExportEncoder encoder(header, form, zone);
    bool written = form != ExportForm::Csv || out.writeLine(QByteArrayView(encoder.headerLine()));
    QByteArray line;
    for (int r = 1; written && r < list.rowCount(); ++r) {
        line.resize(0);
        encoder.appendRow(line, list, r);
        written = out.writeLine(QByteArrayView(line));
    }
    return written;
}
