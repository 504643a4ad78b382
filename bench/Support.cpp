#include "bench/Benchmarks.h"

#include <QProcess>
#include <ctime>
#include <memory>

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
