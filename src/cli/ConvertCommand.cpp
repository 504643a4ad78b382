#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/SystemConsole.h"
#include "records/FileTransfer.h"
#include "records/RecordExport.h"
#include "records/RecordFile.h"
#include "records/RecordImport.h"
#include "records/RecordTableModel.h"

#include <QFile>
#include <QFileInfo>

namespace {

// A list read from a record file or an exported CSV: its header and its rows as the list
// holds them.
struct ReadList {
    ListHeader header;
    RecordTableModel rows;
};

struct PlainCaption : CaptionedWindow {
    QString caption() const override { return text; }
    void setCaption(const QString& caption) override { text = caption; }
    QString text;
};

// The first line of the file, to tell an exported CSV from a record file.
QString firstLine(const QByteArray& bytes) {
    qsizetype end = 0;
    while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
        ++end;
    return QString::fromUtf8(bytes.left(end));
}

// A message for a malformed line: "day.csv:12: ..."
QString atLine(const QString& path, int line, const QString& what) {
    return QStringLiteral("%1:%2: %3").arg(QFileInfo(path).fileName()).arg(line).arg(what);
}

bool readCsv(Console& console, const QString& path, const QByteArray& bytes, ReadList& list) {
    const QString text = QString::fromUtf8(bytes);
    CsvReader reader(text);
    reader.next(); // the header row
    QStringList lines;
    bool first = true;
    while (const std::optional<QStringList> fields = reader.next()) {
        // A last line end leaves nothing after it; an empty line inside is no record.
        if (fields->size() == 1 && fields->front().isEmpty())
            continue;
        const auto imported = importRecord(*fields);
        if (const auto* why = std::get_if<QString>(&imported)) {
            console.message(atLine(path, reader.line(), *why));
            return false;
        }
        const auto& record = std::get<ImportedRecord>(imported);
        if (first)
            list.header = record.header;
        first = false;
        lines << record.line;
    }
    if (!reader.error().isEmpty()) {
        console.message(atLine(path, reader.line(), reader.error()));
        return false;
    }
    list.rows.appendRows(lines);
    return true;
}

bool readRecords(Console& console, const QString& path, ReadList& list) {
    RecordReader reader;
    if (!reader.open(path)) {
        console.message(readFailureDetail(path, reader.errorString()));
        return false;
    }
    PlainCaption caption;
    if (!readRecordFile(reader, {}, caption, list.rows)) {
        console.message(readFailureDetail(path, reader.errorString()));
        return false;
    }
    list.header = ListHeader::parse(caption.text);
    // A line without a number and a time is no record: exporting it would invent one.
    for (int r = 1; r < list.rows.rowCount(); ++r) {
        if (list.rows.cellView(r, 0).trimmed().isEmpty() ||
            list.rows.cellView(r, RecordTableModel::kTimeColumn).trimmed().isEmpty()) {
            console.message(atLine(path, r + 1, QStringLiteral("not a record line")));
            return false;
        }
    }
    return true;
}

} // namespace

int runConvert(Console& console, const ConvertRequest& request) {
    QFile input(request.input);
    if (QFileInfo(request.input).isDir() || !input.open(QIODevice::ReadOnly)) {
        console.message(readFailureDetail(request.input, input.errorString()));
        return 1;
    }
    const QByteArray bytes = input.readAll();
    input.close();
    ReadList list;
    const bool read = firstLine(bytes) == csvHeader() ? readCsv(console, request.input, bytes, list)
                                                      : readRecords(console, request.input, list);
    if (!read)
        return 1;

    RecordWriter out;
    bool written = request.output ? out.create(*request.output, RecordWriter::Flush::Buffered)
                                  : out.open(stdoutDescriptor());
    if (request.to == ConvertRequest::To::Record) {
        // As a list window saves it.
        PlainCaption window;
        written =
            written && writeGridLines(out, QStringLiteral("---") + recordHeaderOf(list.header),
                                      window, list.rows);
    } else {
        written = written && writeExport(out, list.rows, list.header,
                                         request.to == ConvertRequest::To::Csv ? ExportForm::Csv
                                                                               : ExportForm::Jsonl);
    }
    written = out.close() && written;
    if (!written) {
        console.message(QStringLiteral("Cannot write the file, check the disk and try again!"));
        return 1;
    }
    return 0;
}
