#include "cli/CommandTable.h"

#include "cli/CliProgram.h"
#include "cli/CliSession.h"
#include "cli/CliValues.h"
#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/SystemConsole.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <functional>

namespace {

constexpr qint64 kMaxCount = 999'999'999'999;

const QString kPortHelp =
    QStringLiteral("  --port NAME       the meter's port: COM1 to COM8 (Auto is COM1), a device\n"
                   "                    path such as /dev/ttyUSB0, an adapter's short name\n"
                   "                    under /dev/serial/by-id, or Demo, the simulated meter\n"
                   "                    built into the program (see \"luxlog-cli ports\")\n");
const QString kHelpOption = QStringLiteral("  -h, --help        this text\n");

const QCommandLineOption kCount(QStringLiteral("count"), {}, QStringLiteral("N"));
const QCommandLineOption kEvery(QStringLiteral("every"), {}, QStringLiteral("SECONDS"));
const QCommandLineOption kFor(QStringLiteral("for"), {}, QStringLiteral("DURATION"));
const QCommandLineOption kOutput({QStringLiteral("o"), QStringLiteral("output")}, {},
                                 QStringLiteral("FILE"));
const QCommandLineOption kOverwrite(QStringLiteral("overwrite"), {});
const QCommandLineOption kSet(QStringLiteral("set"), {});
const QCommandLineOption kFormat(QStringLiteral("format"), {}, QStringLiteral("FORM"));

// --format, text when not given; nullopt after a usage error.
std::optional<OutputFormat> formatOf(const Invocation& call) {
    if (!call.parser.isSet(kFormat))
        return OutputFormat::Text;
    return parseOutputFormat(call.parser.value(kFormat));
}

const QString kFormatHelp =
    QStringLiteral("  --format FORM     text (the default), csv or jsonl: the columns of\n"
                   "                    \"luxlog-cli convert --help\"\n");

// Opens the port and runs `run` on it; a one-shot command that a stop ended early says so.
int withMeter(const Invocation& call, bool stopEndsIt, const std::function<int(CliSession&)>& run) {
    CliSession session(call.console);
    const StopSignals stops([&session] { session.stop(); });
    if (!session.openPort(call.port))
        return 1;
    const int status = run(session);
    if (session.stopped() && !stopEndsIt) {
        call.console.endProgress();
        call.console.message(QStringLiteral("interrupted"));
        return kInterrupted;
    }
    return status;
}

const QString kPortsHelp =
    QStringLiteral("Lists the port names the start window offers, one a line: COM1 to COM8 with\n"
                   "the device each opens, the USB adapters under /dev/serial/by-id by their\n"
                   "short name with the path it opens, the serial devices the system reports,\n"
                   "and Demo.\n"
                   "\n"
                   "Options:\n") +
    kHelpOption;

int portsCommand(const Invocation& call) {
    return runPorts(call.console);
}

const QString kReadHelp =
    QStringLiteral(
        "Prints each live reading as it arrives, one a line:\n"
        "\n"
        "  TIME VALUE UNIT RANGE [FLAGS]\n"
        "  2026-12-07T14:05:09+00:00 302 LUX 2000 BAT\n"
        "\n"
        "TIME is the PC clock when the reading came in (ISO 8601 with the offset from\n"
        "UTC), VALUE the reading as the meter shows it (302, 10.5, OL), UNIT LUX or Fc,\n"
        "RANGE the full scale (20, 200, 2000 or 20000); FLAGS are those of BAT (battery\n"
        "low), HOLD, MAX, FULL (memory full) and REC (the meter logs) that are set.\n"
        "It stops after N readings, or on Ctrl-C. While the meter does not answer, or\n"
        "answers garbled, standard error says so.\n"
        "\n"
        "Options:\n") +
    kPortHelp + QStringLiteral("  --count N         stop after N readings\n") + kFormatHelp +
    kHelpOption;

int readCommand(const Invocation& call) {
    const std::optional<OutputFormat> format = formatOf(call);
    if (!format)
        return call.usageError(QStringLiteral("--format takes text, csv or jsonl"));
    std::optional<qint64> readings;
    if (call.parser.isSet(kCount)) {
        readings = parseWholeNumber(call.parser.value(kCount), 1, kMaxCount);
        if (!readings)
            return call.usageError(QStringLiteral("--count takes a whole number above 0"));
    }
    // Without a count a stop is the way to end it; with one, a stop before the last reading
    // leaves the job undone, as for the other one-shot commands.
    return withMeter(call, !readings.has_value(),
                     [&](CliSession& session) { return runRead(session, readings, *format); });
}

const QString kRecordHelp =
    QStringLiteral(
        "Records live readings into FILE as the main window's \"Save\" does: a header line\n"
        "with the meter's ID code, range and unit, then a line per sample (number, time\n"
        "stamp, value, battery), each on disk as soon as it is written. Time stamps are\n"
        "the start time plus multiples of the sampling time.\n"
        "\n"
        "Recording ends on Ctrl-C or SIGTERM, after DURATION, at 86,400 records, or when\n"
        "the meter's unit or range changes. While the meter does not answer, standard\n"
        "error says so and the samples that fall due are left out; recording goes on\n"
        "when it answers.\n"
        "\n"
        "Options:\n") +
    kPortHelp +
    QStringLiteral("  --every SECONDS   sampling time in whole seconds, 1 to 86400 (default 2)\n"
                   "  --for DURATION    stop this long after the start: 90s, 15m, 24h, 2d, 1h30m\n"
                   "                    (a plain number is seconds)\n"
                   "  --overwrite       replace FILE if it exists\n") +
    kHelpOption;

int recordCommand(const Invocation& call) {
    RecordRequest request;
    request.path = call.positionals[0];
    if (call.parser.isSet(kEvery)) {
        const std::optional<qint64> seconds = parseWholeNumber(call.parser.value(kEvery), 1, 86400);
        if (!seconds)
            return call.usageError(QStringLiteral("--every takes whole seconds from 1 to 86400"));
        request.samplingSeconds = static_cast<int>(*seconds);
    }
    if (call.parser.isSet(kFor)) {
        request.forSeconds = parseDuration(call.parser.value(kFor));
        if (!request.forSeconds)
            return call.usageError(
                QStringLiteral("--for takes a duration such as 90s, 15m, 24h, 2d or 1h30m"));
    }
    if (!mayWrite(call.console, request.path, call.parser.isSet(kOverwrite)))
        return 1;
    return withMeter(call, true, [&](CliSession& session) { return runRecord(session, request); });
}

const QString kSetsHelp =
    QStringLiteral(
        "Prints the meter's logger settings and its logged sets as the data logger window\n"
        "shows them: the ID code, the logging interval in seconds, the memory's capacity\n"
        "and use, then the set list, TAB separated, under its title row:\n"
        "\n"
        "  Set  Date  Time  Range  Interval  Records\n"
        "\n"
        "As CSV or JSON Lines it prints the list alone, a set a row, in the columns\n"
        "\n"
        "  set,start,range,unit,interval,records,meter_id,local_start\n"
        "\n"
        "start being the set's start in ISO 8601 with the offset from UTC, local_start\n"
        "the same without it (spreadsheets take it as a date and time); JSON Lines have\n"
        "the keys up to meter_id.\n"
        "\n"
        "Options:\n") +
    kPortHelp + QStringLiteral("  --format FORM     text (the default), csv or jsonl\n") +
    kHelpOption;

int setsCommand(const Invocation& call) {
    const std::optional<OutputFormat> format = formatOf(call);
    if (!format)
        return call.usageError(QStringLiteral("--format takes text, csv or jsonl"));
    return withMeter(call, false, [&](CliSession& session) { return runSets(session, *format); });
}

const QString kDownloadHelp =
    QStringLiteral(
        "Downloads logged set N (as \"sets\" numbers them) and writes it as a record file,\n"
        "as the downloaded-data list saves it: into FILE, or onto standard output. Where\n"
        "standard error is a terminal, a line there shows the transfer's progress.\n"
        "\n"
        "Options:\n") +
    kPortHelp +
    QStringLiteral("  -o, --output FILE write the record file here\n"
                   "  --overwrite       replace FILE if it exists\n") +
    QStringLiteral("  --format FORM     text (the record file, the default), csv or jsonl\n") +
    kHelpOption;

int downloadCommand(const Invocation& call) {
    const std::optional<OutputFormat> format = formatOf(call);
    if (!format)
        return call.usageError(QStringLiteral("--format takes text, csv or jsonl"));
    const std::optional<qint64> number = parseWholeNumber(call.positionals[0], 1, 255);
    if (!number)
        return call.usageError(QStringLiteral("N is a set number from 1 to 255"));
    std::optional<QString> path;
    if (call.parser.isSet(kOutput)) {
        path = call.parser.value(kOutput);
        if (!mayWrite(call.console, *path, call.parser.isSet(kOverwrite)))
            return 1;
    } else {
        setStdoutBinary();
    }
    return withMeter(call, false, [&](CliSession& session) {
        return runDownload(session, static_cast<int>(*number), path, *format);
    });
}

const QString kClockHelp =
    QStringLiteral("Prints the meter's clock and the PC's as the meter clock window shows them\n"
                   "(month/day/year):\n"
                   "\n"
                   "  Meter Time      12/07/26 14:05:09\n"
                   "  PC System Time  12/07/26 14:05:10\n"
                   "\n"
                   "The two are TAB separated. Not while the meter logs.\n"
                   "\n"
                   "Options:\n") +
    kPortHelp +
    QStringLiteral("  --set             first set the meter's clock to the PC clock\n") +
    kHelpOption;

int clockCommand(const Invocation& call) {
    const bool setClock = call.parser.isSet(kSet);
    return withMeter(call, false, [&](CliSession& session) { return runClock(session, setClock); });
}

} // namespace

// A file the command would write: a file name in a folder that exists, and no file already
// there unless the user said so.
bool mayWrite(Console& console, const QString& path, bool overwrite) {
    const QFileInfo file(path);
    if (file.fileName().isEmpty() || file.isDir()) {
        console.message(QStringLiteral("%1 is no file name").arg(path));
        return false;
    }
    if (!file.dir().exists()) {
        console.message(QStringLiteral("there is no folder %1").arg(file.path()));
        return false;
    }
    if (file.exists() && !overwrite) {
        console.message(
            QStringLiteral("%1 exists already: give another name, or --overwrite to replace it")
                .arg(path));
        return false;
    }
    return true;
}

int usageError(Console& console, const QString& text, const QString& command) {
    console.message(text + QStringLiteral(" (see \"luxlog-cli %1--help\")")
                               .arg(command.isEmpty() ? QString() : command + u' '));
    return kUsageError;
}

std::span<const CliCommand> cliCommands() {
    static const CliCommand kCommands[] = {
        {.name = QStringLiteral("ports"),
         .synopsis = QStringLiteral("ports"),
         .summary = QStringLiteral("the ports the program can open, one a line"),
         .positionals = 0,
         .meter = false,
         .options = {},
         .usage = QStringLiteral("luxlog-cli ports"),
         .help = kPortsHelp,
         .run = portsCommand},
        {.name = QStringLiteral("read"),
         .synopsis = QStringLiteral("read"),
         .summary = QStringLiteral("live readings as they arrive"),
         .positionals = 0,
         .meter = true,
         .options = {kCount, kFormat},
         .usage = QStringLiteral("luxlog-cli read --port NAME [--count N] [--format FORM]"),
         .help = kReadHelp,
         .run = readCommand},
        {.name = QStringLiteral("record"),
         .synopsis = QStringLiteral("record FILE"),
         .summary = QStringLiteral("PC recording into a record file"),
         .positionals = 1,
         .meter = true,
         .options = {kEvery, kFor, kOverwrite},
         .usage = QStringLiteral(
             "luxlog-cli record FILE --port NAME [--every SECONDS] [--for DURATION]\n"
             "                         [--overwrite]"),
         .help = kRecordHelp,
         .run = recordCommand},
        publishCliCommand(),
        {.name = QStringLiteral("sets"),
         .synopsis = QStringLiteral("sets"),
         .summary = QStringLiteral("the meter's logger settings and its logged sets"),
         .positionals = 0,
         .meter = true,
         .options = {kFormat},
         .usage = QStringLiteral("luxlog-cli sets --port NAME [--format FORM]"),
         .help = kSetsHelp,
         .run = setsCommand},
        {.name = QStringLiteral("download"),
         .synopsis = QStringLiteral("download N"),
         .summary = QStringLiteral("logged set N as a record file"),
         .positionals = 1,
         .meter = true,
         .options = {kOutput, kOverwrite, kFormat},
         .usage = QStringLiteral("luxlog-cli download N --port NAME [-o FILE] [--overwrite]\n"
                                 "                           [--format FORM]"),
         .help = kDownloadHelp,
         .run = downloadCommand},
        convertCliCommand(),
        {.name = QStringLiteral("clock"),
         .synopsis = QStringLiteral("clock"),
         .summary = QStringLiteral("the meter's clock; with --set, set it to the PC clock"),
         .positionals = 0,
         .meter = true,
         .options = {kSet},
         .usage = QStringLiteral("luxlog-cli clock --port NAME [--set]"),
         .help = kClockHelp,
         .run = clockCommand},
    };
    return kCommands;
}
