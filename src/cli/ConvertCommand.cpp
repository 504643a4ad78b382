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

// A message for a malformed line: "day.csv:12: ..."
QString atLine(const QString& path, int line, const QString& what) {
    return QStringLiteral("%1:%2: %3").arg(QFileInfo(path).fileName()).arg(line).arg(what);
}

bool readCsv(Console& console, const QString& path, const QByteArray& bytes, ReadList& list) {
    PlainCaption caption;
    if (const std::optional<CsvFailure> failure = readExportedCsv(bytes, {}, caption, list.rows)) {
        console.message(atLine(path, failure->line, failure->why));
        return false;
    }
    list.header = ListHeader::parse(caption.text);
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
    const bool read = isExportedCsv(bytes) ? readCsv(console, request.input, bytes, list)
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
