// luxlog-cli: the meter from the command line, on the core layers only: no widgets, no display.
#include "cli/CliProgram.h"
#include "cli/Console.h"
#include "cli/SystemConsole.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(kProgramName);
    Console console(stdout, stderr, stderrIsTerminal());
    return runCli(QCoreApplication::arguments(), console);
}
