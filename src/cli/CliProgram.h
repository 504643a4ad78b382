#pragma once

#include <QStringList>

class Console;

// Exit statuses besides 0 (done) and 1 (failed, with the reason on standard error).
inline constexpr int kUsageError = 2;
inline constexpr int kInterrupted = 130;

// The program: `arguments` as main() has them, the program's name first. Parses the command and
// its options, prints help texts, runs the command and returns the exit status.
int runCli(const QStringList& arguments, Console& console);
