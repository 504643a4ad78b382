// luxlog's benchmark program: one line per figure, "name value unit".
#include "bench/Benchmarks.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("luxlog benchmarks");
    parser.addHelpOption();
    parser.addOption({"seconds", "Length of each polling run.", "s", "30"});
    parser.addOption({"only", "Run only the benchmarks whose name starts with this.", "prefix"});
    parser.process(app);

    BenchOptions options;
    options.pollSeconds = parser.value("seconds").toDouble();
    options.metersim = QStringLiteral(METERSIM_PATH);
    const QString only = parser.value("only");

    for (const Benchmark& b : allBenchmarks()) {
        if (!only.isEmpty() && !b.name.startsWith(only))
            continue;
        for (const Figure& f : b.run(options)) {
            std::printf("%s %.5g %s\n", qPrintable(f.name), f.value, qPrintable(f.unit));
            std::fflush(stdout);
        }
    }
    return 0;
}
