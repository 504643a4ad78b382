#include "cli/CliProgram.h"

#include "cli/CommandTable.h"
#include "cli/Console.h"

#include <QCommandLineParser>

namespace {

// Where the help's command list starts its descriptions.
constexpr qsizetype kSynopsisWidth = 20;

QString programHelp() {
    QString help = QStringLiteral(
        "Usage: luxlog-cli COMMAND [options]\n"
        "\n"
        "The illuminance meter from the command line, without a display: live readings, PC\n"
        "recording into record files, the meter's logged sets and its clock.\n"
        "\n"
        "Commands:\n");
    for (const CliCommand& command : cliCommands())
        help += QStringLiteral("  ") + command.synopsis.leftJustified(kSynopsisWidth) +
                command.summary + u'\n';
    return help +
           QStringLiteral(
               "\n"
               "Every command but \"ports\" talks to the meter on the port that --port names.\n"
               "\"luxlog-cli COMMAND --help\" describes a command.\n"
               "\n"
               "Exit status: 0 when the command did what was asked; 1 when it failed, with the\n"
               "reason on standard error; 2 for a command line it does not understand; 130 when\n"
               "Ctrl-C or SIGTERM stopped \"sets\", \"download\" or \"clock\" before they were "
               "done.\n");
}

const CliCommand* findCommand(const QString& name) {
    for (const CliCommand& command : cliCommands()) {
        if (name == command.name)
            return &command;
    }
    return nullptr;
}

} // namespace

int runCli(const QStringList& arguments, Console& console) {
    if (arguments.size() < 2) {
        console.message(QStringLiteral("name a command (see \"luxlog-cli --help\")"));
        return kUsageError;
    }
    const QString& name = arguments[1];
    if (name == u"-h" || name == u"--help" || name == u"help") {
        console.write(programHelp().toLocal8Bit());
        return 0;
    }
    const CliCommand* command = findCommand(name);
    if (!command)
        return usageError(console, QStringLiteral("there is no command \"%1\"").arg(name));

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, {});
    const QCommandLineOption port(QStringLiteral("port"), {}, QStringLiteral("NAME"));
    parser.addOption(help);
    if (command->meter)
        parser.addOption(port);
    parser.addOptions(command->options);

    QStringList rest = arguments.mid(2);
    rest.prepend(arguments[0]);
    if (!parser.parse(rest))
        return usageError(console, parser.errorText(), command->name);
    if (parser.isSet(help)) {
        console.write(
            (QStringLiteral("Usage: ") + command->usage + QStringLiteral("\n\n") + command->help)
                .toLocal8Bit());
        return 0;
    }
    Invocation call{console, parser, command->name, parser.positionalArguments(), {}};
    if (call.positionals.size() != command->positionals) {
        return call.usageError(command->positionals == 0
                                   ? QStringLiteral("\"%1\" takes no arguments").arg(command->name)
                                   : QStringLiteral("usage: %1").arg(command->usage));
    }
    if (command->meter) {
        if (!parser.isSet(port))
            return call.usageError(QStringLiteral("name the meter's port with --port"));
        call.port = parser.value(port);
    }
    return command->run(call);
}
