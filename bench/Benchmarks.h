#pragma once

#include <QString>
#include <functional>
#include <vector>

struct BenchOptions {
    double pollSeconds = 30;
    QString metersim;
};

struct Figure {
    QString name;
    double value;
    QString unit;
};

struct Benchmark {
    QString name;
    std::function<std::vector<Figure>(const BenchOptions&)> run;
};

std::vector<Benchmark> allBenchmarks();

// Helpers shared by the benchmark files.
double processCpuSeconds();
// Another process's CPU seconds and peak resident memory in MB, from /proc; -1 when they
// cannot be read.
double childCpuSeconds(qint64 pid);
double childPeakMegabytes(qint64 pid);
// Starts metersim with `args`, returns the pseudo-terminal path (empty on failure). The process
// lives until `stopMetersim`.
QString startMetersim(const QString& program, const QStringList& args);
void stopMetersim();
