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

const QString kProgramHelp = QStringLiteral(
    "Usage: luxlog-cli COMMAND [options]\n"
    "\n"
    "The illuminance meter from the command line, without a display: live readings, PC\n"
    "recording into record files, the meter's logged sets and its clock.\n"
    "\n"
    "Commands:\n"
    "  ports               the ports the program can open, one a line\n"
    "  read                live readings as they arrive\n"
    "  record FILE         PC recording into a record file\n"
    "  sets                the meter's logger settings and its logged sets\n"
    "  download N          logged set N as a record file\n"
    "  clock               the meter's clock; with --set, set it to the PC clock\n"
    "\n"
    "Every command but \"ports\" talks to the meter on the port that --port names.\n"
    "\"luxlog-cli COMMAND --help\" describes a command.\n"
    "\n"
    "Exit status: 0 when the command did what was asked; 1 when it failed, with the\n"
    "reason on standard error; 2 for a command line it does not understand; 130 when\n"
    "Ctrl-C or SIGTERM stopped \"sets\", \"download\" or \"clock\" before they were done.\n");

struct Command {
    const char* name;
    int positionals; // required positional arguments
    QString usage;
    QString help;
};

const Command kCommands[] = {
    {"ports", 0, QStringLiteral("luxlog-cli ports"),
     QStringLiteral("Lists the port names the start window offers, one a line: COM1 to COM8 with\n"
                    "the device each opens, the USB adapters under /dev/serial/by-id by their\n"
                    "short name with the path it opens, the serial devices the system reports,\n"
                    "and Demo.\n"
                    "\n"
                    "Options:\n") +
         kHelpOption},
    {"read", 0, QStringLiteral("luxlog-cli read --port NAME [--count N]"),
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
         kPortHelp + QStringLiteral("  --count N         stop after N readings\n") + kHelpOption},
    {"record", 1,
     QStringLiteral("luxlog-cli record FILE --port NAME [--every SECONDS] [--for DURATION]\n"
                    "                         [--overwrite]"),
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
         QStringLiteral(
             "  --every SECONDS   sampling time in whole seconds, 1 to 86400 (default 2)\n"
             "  --for DURATION    stop this long after the start: 90s, 15m, 24h, 2d, 1h30m\n"
             "                    (a plain number is seconds)\n"
             "  --overwrite       replace FILE if it exists\n") +
         kHelpOption},
    {"sets", 0, QStringLiteral("luxlog-cli sets --port NAME"),
     QStringLiteral(
         "Prints the meter's logger settings and its logged sets as the data logger window\n"
         "shows them: the ID code, the logging interval in seconds, the memory's capacity\n"
         "and use, then the set list, TAB separated, under its title row:\n"
         "\n"
         "  Set  Date  Time  Range  Interval  Records\n"
         "\n"
         "Options:\n") +
         kPortHelp + kHelpOption},
    {"download", 1, QStringLiteral("luxlog-cli download N --port NAME [-o FILE] [--overwrite]"),
     QStringLiteral(
         "Downloads logged set N (as \"sets\" numbers them) and writes it as a record file,\n"
         "as the downloaded-data list saves it: into FILE, or onto standard output. Where\n"
         "standard error is a terminal, a line there shows the transfer's progress.\n"
         "\n"
         "Options:\n") +
         kPortHelp +
         QStringLiteral("  -o, --output FILE write the record file here\n"
                        "  --overwrite       replace FILE if it exists\n") +
         kHelpOption},
    {"clock", 0, QStringLiteral("luxlog-cli clock --port NAME [--set]"),
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
         kHelpOption},
};

const Command* findCommand(const QString& name) {
    for (const Command& command : kCommands) {
        if (name == QLatin1StringView(command.name))
            return &command;
    }
    return nullptr;
}

int usageError(Console& console, const QString& text, const QString& command = {}) {
    console.message(text + QStringLiteral(" (see \"luxlog-cli %1--help\")")
                               .arg(command.isEmpty() ? QString() : command + u' '));
    return kUsageError;
}

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

// Opens the port and runs `run` on it; a one-shot command that a stop ended early says so.
int withMeter(Console& console, const QString& port, bool stopEndsIt,
              const std::function<int(CliSession&)>& run) {
    CliSession session(console);
    const StopSignals stops([&session] { session.stop(); });
    if (!session.openPort(port))
        return 1;
    const int status = run(session);
    if (session.stopped() && !stopEndsIt) {
        console.endProgress();
        console.message(QStringLiteral("interrupted"));
        return kInterrupted;
    }
    return status;
}

} // namespace

int runCli(const QStringList& arguments, Console& console) {
    if (arguments.size() < 2) {
        console.message(QStringLiteral("name a command (see \"luxlog-cli --help\")"));
        return kUsageError;
    }
    const QString& name = arguments[1];
    if (name == u"-h" || name == u"--help" || name == u"help") {
        console.write(kProgramHelp.toLocal8Bit());
        return 0;
    }
    const Command* command = findCommand(name);
    if (!command)
        return usageError(console, QStringLiteral("there is no command \"%1\"").arg(name));

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, {});
    const QCommandLineOption port(QStringLiteral("port"), {}, QStringLiteral("NAME"));
    const QCommandLineOption count(QStringLiteral("count"), {}, QStringLiteral("N"));
    const QCommandLineOption every(QStringLiteral("every"), {}, QStringLiteral("SECONDS"));
    const QCommandLineOption duration(QStringLiteral("for"), {}, QStringLiteral("DURATION"));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")}, {},
                                    QStringLiteral("FILE"));
    const QCommandLineOption overwrite(QStringLiteral("overwrite"), {});
    const QCommandLineOption set(QStringLiteral("set"), {});
    parser.addOption(help);
    const QString cmd = QLatin1StringView(command->name);
    if (cmd != u"ports")
        parser.addOption(port);
    if (cmd == u"read")
        parser.addOption(count);
    if (cmd == u"record")
        parser.addOptions({every, duration});
    if (cmd == u"download")
        parser.addOption(output);
    if (cmd == u"record" || cmd == u"download")
        parser.addOption(overwrite);
    if (cmd == u"clock")
        parser.addOption(set);

    QStringList rest = arguments.mid(2);
    rest.prepend(arguments[0]);
    if (!parser.parse(rest))
        return usageError(console, parser.errorText(), cmd);
    if (parser.isSet(help)) {
        console.write(
            (QStringLiteral("Usage: ") + command->usage + QStringLiteral("\n\n") + command->help)
                .toLocal8Bit());
        return 0;
    }
    const QStringList positionals = parser.positionalArguments();
    if (positionals.size() != command->positionals) {
        return usageError(console,
                          command->positionals == 0
                              ? QStringLiteral("\"%1\" takes no arguments").arg(cmd)
                              : QStringLiteral("usage: %1").arg(command->usage),
                          cmd);
    }
    if (cmd == u"ports")
        return runPorts(console);
    if (!parser.isSet(port))
        return usageError(console, QStringLiteral("name the meter's port with --port"), cmd);
    const QString portName = parser.value(port);

    if (cmd == u"read") {
        std::optional<qint64> readings;
        if (parser.isSet(count)) {
            readings = parseWholeNumber(parser.value(count), 1, kMaxCount);
            if (!readings)
                return usageError(console, QStringLiteral("--count takes a whole number above 0"),
                                  cmd);
        }
        return withMeter(console, portName, true,
                         [&](CliSession& session) { return runRead(session, readings); });
    }
    if (cmd == u"record") {
        RecordRequest request;
        request.path = positionals[0];
        if (parser.isSet(every)) {
            const std::optional<qint64> seconds = parseWholeNumber(parser.value(every), 1, 86400);
            if (!seconds)
                return usageError(
                    console, QStringLiteral("--every takes whole seconds from 1 to 86400"), cmd);
            request.samplingSeconds = static_cast<int>(*seconds);
        }
        if (parser.isSet(duration)) {
            request.forSeconds = parseDuration(parser.value(duration));
            if (!request.forSeconds)
                return usageError(console,
                                  QStringLiteral("--for takes a duration such as 90s, 15m, 24h, "
                                                 "2d or 1h30m"),
                                  cmd);
        }
        if (!mayWrite(console, request.path, parser.isSet(overwrite)))
            return 1;
        return withMeter(console, portName, true,
                         [&](CliSession& session) { return runRecord(session, request); });
    }
    if (cmd == u"sets")
        return withMeter(console, portName, false, runSets);
    if (cmd == u"download") {
        const std::optional<qint64> number = parseWholeNumber(positionals[0], 1, 255);
        if (!number)
            return usageError(console, QStringLiteral("N is a set number from 1 to 255"), cmd);
        std::optional<QString> path;
        if (parser.isSet(output)) {
            path = parser.value(output);
            if (!mayWrite(console, *path, parser.isSet(overwrite)))
                return 1;
        } else {
            setStdoutBinary();
        }
        return withMeter(console, portName, false, [&](CliSession& session) {
            return runDownload(session, static_cast<int>(*number), path);
        });
    }
    const bool setClock = parser.isSet(set);
    return withMeter(console, portName, false,
                     [&](CliSession& session) { return runClock(session, setClock); });
}
