#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringList>
#include <span>

class Console;
class QCommandLineParser;

// "luxlog-cli: TEXT (see "luxlog-cli COMMAND --help")" on standard error, the command left out
// when there is none; returns the exit status for a command line the program does not
// understand.
int usageError(Console& console, const QString& text, const QString& command = {});

// A command line as a command's run function gets it: parsed, no help asked for, the positional
// arguments the command takes and, for a command that talks to the meter, a port.
struct Invocation {
    Console& console;
    const QCommandLineParser& parser;
    QString command;
    QStringList positionals;
    QString port;

    int usageError(const QString& text) const { return ::usageError(console, text, command); }
};

// One of the program's commands: all that parsing, describing and running it needs, so that a
// new command is one more entry in the table.
struct CliCommand {
    QString name;
    // Its line in the program's help: the command with its arguments ("record FILE"), then what
    // it does.
    QString synopsis;
    QString summary;
    int positionals; // required positional arguments
    // It talks to the meter, on the port that --port names.
    bool meter;
    // Its options besides --help and --port, in the order the parser takes them.
    QList<QCommandLineOption> options;
    // The "Usage:" line of its help, and the text below it.
    QString usage;
    QString help;
    int (*run)(const Invocation& call);
};

// A file a command would write: a file name in a folder that exists, and no file already there
// unless the user said so; otherwise false after saying why.
bool mayWrite(Console& console, const QString& path, bool overwrite);

// The command that needs no meter to turn files into other forms.
CliCommand convertCliCommand();
// The command that sends live samples to an MQTT broker.
CliCommand publishCliCommand();

// The program's commands, in the order the program's help lists them.
std::span<const CliCommand> cliCommands();
