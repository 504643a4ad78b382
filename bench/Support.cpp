#include "bench/Benchmarks.h"

#include <QFile>
#include <QProcess>
#include <ctime>
#include <memory>

#ifdef Q_OS_LINUX
#include <unistd.h>
#endif

std::vector<Figure> pollDemo(const BenchOptions& o);
std::vector<Figure> pollPty(const BenchOptions& o);
std::vector<Figure> downloadPty(const BenchOptions& o);
std::vector<Figure> listFigures(const BenchOptions& o);
std::vector<Figure> windowDownloadPty(const BenchOptions& o);
std::vector<Figure> millionFigures(const BenchOptions& o);
std::vector<Figure> toolsFigures(const BenchOptions& o);
std::vector<Figure> chartFigures(const BenchOptions& o);
std::vector<Figure> recordPlotFigures(const BenchOptions& o);
std::vector<Figure> cliFigures(const BenchOptions& o);
std::vector<Figure> publishFigures(const BenchOptions& o);

std::vector<Benchmark> allBenchmarks() {
    return {
        {"poll_demo", pollDemo},
        {"poll_pty", pollPty},
        {"download_pty", downloadPty},
        {"list_86400", listFigures},
        {"list_1000000", millionFigures},
        {"window_download_pty", windowDownloadPty},
        {"tools", toolsFigures},
        {"charts", chartFigures},
        {"record_plot", recordPlotFigures},
        {"cli", cliFigures},
        {"publish", publishFigures},
    };
}

double processCpuSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// CPU seconds the process has used, from /proc; -1 when it cannot be read.
double childCpuSeconds(qint64 pid) {
#ifdef Q_OS_LINUX
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    // The fields after the command name, which may hold blanks, start at its closing bracket.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return -1;
    const double ticks = fields[11].toDouble() + fields[12].toDouble(); // utime, stime
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
#else
    Q_UNUSED(pid);
    return -1;
#endif
}

// The peak resident memory of the process in MB, from /proc; -1 when it cannot be read.
double childPeakMegabytes(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

namespace {
std::unique_ptr<QProcess> g_metersim;
}

QString startMetersim(const QString& program, const QStringList& args) {
    g_metersim = std::make_unique<QProcess>();
    g_metersim->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    g_metersim->start(program, args);
    if (!g_metersim->waitForStarted(5000))
        return {};
    while (!g_metersim->canReadLine()) {
        if (!g_metersim->waitForReadyRead(5000))
            return {};
    }
    return QString::fromLocal8Bit(g_metersim->readLine()).trimmed();
}

void stopMetersim() {
    if (!g_metersim)
        return;
    g_metersim->kill();
    g_metersim->waitForFinished(3000);
    g_metersim.reset();
}
