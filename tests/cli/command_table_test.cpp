// The command table against the program's parsing and help, without a meter: every check stops
// before a port would be opened.
#include "cli/CliProgram.h"
#include "cli/CommandTable.h"
#include "cli/Console.h"

#include <QSet>
#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

// runCli with both streams caught in temporary files.
struct CliRun {
    explicit CliRun(const QStringList& arguments) {
        std::FILE* outFile = std::tmpfile();
        std::FILE* errFile = std::tmpfile();
        Console console(outFile, errFile, false);
        status = runCli(QStringList{QStringLiteral("luxlog-cli")} + arguments, console);
        out = readBack(outFile);
        err = readBack(errFile);
    }
    static QString readBack(std::FILE* file) {
        QByteArray text;
        std::rewind(file);
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
            text.append(buffer, static_cast<qsizetype>(n));
        std::fclose(file);
        return QString::fromLocal8Bit(text);
    }
    QString what() const { return QStringLiteral("status %1: %2%3").arg(status).arg(out, err); }

    int status = -1;
    QString out;
    QString err;
};

QString dashed(const QString& name) {
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

// An option as it is typed: its first name, with a value when it takes one.
QStringList typed(const QCommandLineOption& option) {
    QStringList words{dashed(option.names().constFirst())};
    if (!option.valueName().isEmpty())
        words << QStringLiteral("x");
    return words;
}

// An option as a help text lists it: "  -o, --output FILE".
QString listed(const QCommandLineOption& option) {
    QStringList names;
    for (const QString& name : option.names())
        names << dashed(name);
    return QStringLiteral("\n  ") + names.join(QStringLiteral(", ")) + u' ';
}

TEST(CommandTable, ProgramHelpListsEveryCommandInOneColumn) {
    const CliRun run({QStringLiteral("--help")});
    ASSERT_EQ(run.status, 0) << run.what().toStdString();
    const QString list =
        run.out.section(QStringLiteral("Commands:\n"), 1).section(QStringLiteral("\n\n"), 0, 0);
    const QStringList lines = list.split(u'\n');
    const std::span<const CliCommand> commands = cliCommands();
    ASSERT_EQ(lines.size(), static_cast<qsizetype>(commands.size())) << list.toStdString();
    QSet<qsizetype> summaryColumns;
    for (size_t i = 0; i < commands.size(); ++i) {
        const CliCommand& c = commands[i];
        const QString& line = lines[static_cast<qsizetype>(i)];
        EXPECT_TRUE(line.startsWith(QStringLiteral("  ") + c.synopsis + u' '))
            << line.toStdString();
        EXPECT_TRUE(line.endsWith(c.summary)) << line.toStdString();
        EXPECT_TRUE(c.synopsis == c.name || c.synopsis.startsWith(c.name + u' '))
            << c.synopsis.toStdString();
        summaryColumns.insert(line.size() - c.summary.size());
    }
    EXPECT_EQ(summaryColumns.size(), 1) << list.toStdString();
}

// Each command's help names the options it takes, and it takes exactly those: --help, --port
// when it talks to the meter, and its own; another command's option is refused.
TEST(CommandTable, EachCommandTakesTheOptionsItsHelpNames) {
    const QCommandLineOption port(QStringLiteral("port"), {}, QStringLiteral("NAME"));
    const auto same = [](const QCommandLineOption& a, const QCommandLineOption& b) {
        return a.names() == b.names();
    };
    // Every option some command takes, once.
    QList<QCommandLineOption> every{port};
    for (const CliCommand& c : cliCommands()) {
        for (const QCommandLineOption& option : c.options) {
            if (std::none_of(every.begin(), every.end(),
                             [&](const auto& o) { return same(o, option); }))
                every << option;
        }
    }
    for (const CliCommand& c : cliCommands()) {
        const std::string label = c.name.toStdString();
        const CliRun help({c.name, QStringLiteral("--help")});
        ASSERT_EQ(help.status, 0) << label;
        EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage: luxlog-cli ") + c.synopsis))
            << help.out.toStdString();
        EXPECT_EQ(c.usage.contains(QStringLiteral("--port NAME")), c.meter) << label;

        QList<QCommandLineOption> own = c.options;
        if (c.meter)
            own.prepend(port);
        // A name given twice makes the parser drop the later option.
        QSet<QString> names{QStringLiteral("h"), QStringLiteral("help")};
        for (const QCommandLineOption& option : own) {
            for (const QString& name : option.names()) {
                EXPECT_FALSE(names.contains(name))
                    << label << " takes " << dashed(name).toStdString() << " twice";
                names.insert(name);
            }
        }
        for (const QCommandLineOption& option : every) {
            const bool takes =
                std::any_of(own.begin(), own.end(), [&](const auto& o) { return same(o, option); });
            const QString first = option.names().constFirst();
            EXPECT_EQ(help.out.contains(listed(option)), takes)
                << label << "'s help and options disagree on " << first.toStdString();
            // --help answers once the line parses, before anything else is checked.
            const CliRun run(QStringList{c.name} + typed(option) + QStringList{"--help"});
            EXPECT_EQ(run.status, takes ? 0 : kUsageError)
                << label << " " << first.toStdString() << ": " << run.what().toStdString();
            if (!takes) {
                EXPECT_TRUE(run.err.contains(QStringLiteral("Unknown option '%1'").arg(first)))
                    << run.err.toStdString();
            }
        }
    }
}

// The checks every command gets before it runs, in their order: its positional arguments, then
// the port.
TEST(CommandTable, PositionalsAndThePortAreCheckedBeforeTheCommandRuns) {
    for (const CliCommand& c : cliCommands()) {
        const std::string label = c.name.toStdString();
        const QString see = QStringLiteral(" (see \"luxlog-cli %1 --help\")\n").arg(c.name);
        const QString tooMany = c.positionals == 0
                                    ? QStringLiteral("\"%1\" takes no arguments").arg(c.name)
                                    : QStringLiteral("usage: ") + c.usage;
        const QStringList port = c.meter ? QStringList{"--port", "Demo"} : QStringList();
        QStringList fitting{c.name};
        for (int i = 0; i < c.positionals; ++i)
            fitting << QStringLiteral("1");
        const CliRun extra(fitting + QStringList{QStringLiteral("1")} + port);
        EXPECT_EQ(extra.status, kUsageError) << label;
        EXPECT_EQ(extra.err, QStringLiteral("luxlog-cli: ") + tooMany + see) << label;
        if (c.positionals > 0) {
            const CliRun missing(QStringList{c.name} + port);
            EXPECT_EQ(missing.status, kUsageError) << label;
            EXPECT_EQ(missing.err, QStringLiteral("luxlog-cli: ") + tooMany + see) << label;
        }
        if (c.meter) {
            const CliRun noPort(fitting);
            EXPECT_EQ(noPort.status, kUsageError) << label;
            EXPECT_EQ(noPort.err,
                      QStringLiteral("luxlog-cli: name the meter's port with --port") + see)
                << label;
        }
        EXPECT_EQ(extra.out, QString()) << label;
    }
}

// On a terminal the progress line is redrawn in place; a message starts below it, and the next
// progress line below the message, never over it.
TEST(Console, MessagesNeverLandOnTheProgressLine) {
    std::FILE* outFile = std::tmpfile();
    std::FILE* errFile = std::tmpfile();
    {
        Console console(outFile, errFile, true);
        console.progress(QStringLiteral("set 1: 10 %"));
        console.progress(QStringLiteral("set 1: 9 %"));
        console.message(QStringLiteral("the meter is silent"));
        console.progress(QStringLiteral("set 1: 20 %"));
        console.endProgress();
    }
    EXPECT_EQ(CliRun::readBack(errFile),
              "\rset 1: 10 %\rset 1: 9 % \nluxlog-cli: the meter is silent\n\rset 1: 20 %\n");
    EXPECT_EQ(CliRun::readBack(outFile), QString());
}

} // namespace
