#include "records/RecordImport.h"

#include "common/CalendarTime.h"
#include "common/NumberText.h"
#include "records/FileTransfer.h"
#include "records/RecordTableModel.h"

namespace {

// "2010-06-22T14:05:09+02:00" (the offset optional, or "Z") as the list shows it:
// "22/06/2010 14:05:09"; nullopt for another form.
std::optional<QString> shownFromIso(QStringView iso) {
    if (iso.size() < 19 || iso[4] != u'-' || iso[7] != u'-' || iso[10] != u'T')
        return std::nullopt;
    const QStringView zone = iso.mid(19);
    const bool zoneOk =
        zone.isEmpty() || zone == u"Z" ||
        (zone.size() == 6 && (zone[0] == u'+' || zone[0] == u'-') && zone[3] == u':');
    const QString held = iso.left(4).toString() + u'/' + iso.mid(5, 2).toString() + u'/' +
                         iso.mid(8, 2).toString() + u' ' + iso.mid(11, 8).toString();
    if (!zoneOk || !CalendarTime::parse(held))
        return std::nullopt;
    return shownFromHeld(held);
}

} // namespace

std::optional<QStringList> CsvReader::next() {
    m_error.clear();
    if (m_pos >= m_text.size())
        return std::nullopt;
    m_recordLine = m_line;
    QStringList fields;
    QString field;
    bool quoted = false;
    bool afterQuote = false; // a quoted field ended: only a comma or the line end may follow
    while (m_pos < m_text.size()) {
        const QChar c = m_text[m_pos++];
        if (quoted) {
            if (c == u'"') {
                if (m_pos < m_text.size() && m_text[m_pos] == u'"') {
                    field += u'"';
                    ++m_pos;
                } else {
                    quoted = false;
                    afterQuote = true;
                }
            } else {
                if (c == u'\n')
                    ++m_line;
                field += c;
            }
            continue;
        }
        if (c == u',') {
            fields << field;
            field.clear();
            afterQuote = false;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && m_pos < m_text.size() && m_text[m_pos] == u'\n')
                ++m_pos;
            ++m_line;
            fields << field;
            return fields;
        } else if (afterQuote) {
            m_error = QStringLiteral("text after a closing quote");
            return std::nullopt;
        } else if (c == u'"' && field.isEmpty()) {
            quoted = true;
        } else {
            field += c;
        }
    }
    if (quoted) {
        m_error = QStringLiteral("a quote that is never closed");
        return std::nullopt;
    }
    fields << field;
    return fields;
}

bool isExportHeader(const QStringList& fields) {
    // CSVs exported before local_time came have the columns without it.
    return fields == csvColumns() || fields == exportColumns();
}

std::variant<ImportedRecord, QString> importRecord(const QStringList& fields) {
    if (fields.size() != exportColumns().size() && fields.size() != csvColumns().size())
        return QStringLiteral("%1 fields where a row has %2")
            .arg(fields.size())
            .arg(csvColumns().size());
    const QString& number = fields[0];
    const QString& reading = fields[3];
    const QString& battery = fields[6];
    if (number.isEmpty() || number.contains(u'\t'))
        return QStringLiteral("no record number");
    if (battery != u"true" && battery != u"false")
        return QStringLiteral("battery_low is \"%1\", not true or false").arg(battery);
    for (const QString& f : fields) {
        if (f.contains(u'\t') || f.contains(u'\r') || f.contains(u'\n'))
            return QStringLiteral("a TAB or line end inside a field");
    }
    // A time that was exported as it stood goes back as it stands.
    const QString time = shownFromIso(fields[1]).value_or(fields[1]);
    ImportedRecord record;
    record.line = number + u'\t' + time + u'\t' + reading + u'\t' +
                  (battery == u"true" ? QStringLiteral("Low") : QString());
    record.header.meterId = fields[7];
    if (!fields[5].isEmpty()) {
        const std::optional<double> range = exactNumber(fields[5]);
        if (!range || *range <= 0 || *range > 1e6 || *range != static_cast<int>(*range))
            return QStringLiteral("range \"%1\" is no meter range").arg(fields[5]);
        record.header.range = static_cast<int>(*range);
    }
    record.header.unit = fields[4];
    return record;
}

QString recordHeaderOf(const ListHeader& header) {
    return QStringLiteral("*ID=") + header.meterId + QStringLiteral(" Range:") +
           (header.range ? QString::number(*header.range) : QString()) + u'/' + header.unit;
}

bool isExportedCsv(const QByteArray& start) {
    qsizetype end = 0;
    while (end < start.size() && start[end] != '\r' && start[end] != '\n')
        ++end;
    return isExportHeader(QString::fromUtf8(start.left(end)).split(u','));
}

std::optional<CsvFailure> readExportedCsv(const QByteArray& bytes, const QString& fileTitle,
                                          CaptionedWindow& window, RecordTableModel& grid) {
    const QString text = QString::fromUtf8(bytes);
    CsvReader reader(text);
    const qsizetype columns = reader.next().value_or(QStringList()).size();
    QStringList lines;
    std::optional<CsvFailure> failure;
    bool first = true;
    while (const std::optional<QStringList> fields = reader.next()) {
        // The last line end leaves nothing after it; an empty line is no record either.
        if (fields->size() == 1 && fields->front().isEmpty())
            continue;
        if (fields->size() != columns) {
            failure = CsvFailure{
                reader.line(),
                QStringLiteral("%1 fields where a row has %2").arg(fields->size()).arg(columns)};
            break;
        }
        const auto imported = importRecord(*fields);
        if (const auto* why = std::get_if<QString>(&imported)) {
            failure = CsvFailure{reader.line(), *why};
            break;
        }
        const auto& record = std::get<ImportedRecord>(imported);
        if (first)
            window.setCaption(fileTitle + QStringLiteral("---") + recordHeaderOf(record.header));
        first = false;
        lines << record.line;
    }
    if (!failure && !reader.error().isEmpty())
        failure = CsvFailure{reader.line(), reader.error()};
    grid.appendRows(lines);
    return failure;
}
