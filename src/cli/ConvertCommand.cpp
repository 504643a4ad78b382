#include "cli/CommandTable.h"
#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/SystemConsole.h"
#include "records/FileTransfer.h"
#include "records/RecordExport.h"
#include "records/RecordFile.h"
#include "records/RecordImport.h"
#include "records/RecordTableModel.h"

#include <QCommandLineParser>
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

namespace {

const QCommandLineOption kConvertTo(QStringLiteral("to"), {}, QStringLiteral("FORM"));
const QCommandLineOption kConvertOutput({QStringLiteral("o"), QStringLiteral("output")}, {},
                                        QStringLiteral("OUT"));
const QCommandLineOption kConvertOverwrite(QStringLiteral("overwrite"), {});

const QString kConvertHelp =
    QStringLiteral(
        "Reads FILE, a record file or a CSV that Export or this command wrote, and writes\n"
        "it in another form: into OUT, or onto standard output.\n"
        "\n"
        "  csv     a header row, then a row per record (RFC 4180, UTF-8, CR LF):\n"
        "          number,time,value,reading,unit,range,battery_low,meter_id,local_time\n"
        "          time is ISO 8601 with the offset from UTC, local_time the same without\n"
        "          it (spreadsheets take it as a date and time); value is empty where the\n"
        "          reading is no number (OL), reading is the text as the meter showed it\n"
        "  jsonl   one JSON object a line with the keys up to meter_id, value null for OL\n"
        "  record  the record file, as a list window saves it\n"
        "\n"
        "A line that is no record ends it with exit status 1 and the line's number.\n"
        "\n"
        "Options:\n"
        "  --to FORM         csv, jsonl or record\n"
        "  -o, --output OUT  write here\n"
        "  --overwrite       replace OUT if it exists\n") +
    QStringLiteral("  -h, --help        this text\n");

int convertCommand(const Invocation& call) {
    ConvertRequest request;
    request.input = call.positionals[0];
    const QString to = call.parser.value(kConvertTo);
    if (to == u"csv")
        request.to = ConvertRequest::To::Csv;
    else if (to == u"jsonl")
        request.to = ConvertRequest::To::Jsonl;
    else if (to == u"record")
        request.to = ConvertRequest::To::Record;
    else
        return call.usageError(QStringLiteral("--to takes csv, jsonl or record"));
    if (call.parser.isSet(kConvertOutput)) {
        request.output = call.parser.value(kConvertOutput);
        if (QFileInfo(*request.output).absoluteFilePath() ==
            QFileInfo(request.input).absoluteFilePath()) {
            call.console.message(QStringLiteral("OUT is FILE itself: give another name"));
            return 1;
        }
        if (!mayWrite(call.console, *request.output, call.parser.isSet(kConvertOverwrite)))
            return 1;
    } else {
        setStdoutBinary();
    }
    return runConvert(call.console, request);
}

} // namespace

CliCommand convertCliCommand() {
    return {.name = QStringLiteral("convert"),
            .synopsis = QStringLiteral("convert FILE"),
            .summary = QStringLiteral("a record file or an exported CSV as CSV, JSON Lines or a "
                                      "record file"),
            .positionals = 1,
            .meter = false,
            .options = {kConvertTo, kConvertOutput, kConvertOverwrite},
            .usage = QStringLiteral(
                "luxlog-cli convert FILE --to csv|jsonl|record [-o OUT] [--overwrite]"),
            .help = kConvertHelp,
            .run = convertCommand};
}
