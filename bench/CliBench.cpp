// luxlog-cli as a user runs it, as a child process: CPU seconds per second and peak memory of
// "read" and "record" polling metersim on a pseudo-terminal, and "download" against the time its
// bytes take on the wire plus the fixed pauses of its exchanges.
#include "bench/Benchmarks.h"

#include "link/LoggerReplies.h"
#include "link/MeterExchange.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

namespace {

constexpr int kSamples = 16000;
constexpr double kByteSeconds = 10.0 / 9600.0;
// Set 4: the demo meter's three sets, then the big one.
constexpr int kBigSet = 4;
// The pauses before the dump starts: the first poll (the request that wakes the meter, then the
// one answered), the settings read (a wake pass, the pause after it, " " and "Y"), the index
// (" " and "I"), and the set read (two wake passes, the pause after them, " " and "K"). The
// pause after the set byte overlaps the dump's first bytes.
constexpr double kFixedPauses = (2 + 4 + 2 + 5) * MeterExchange::kPause;

std::vector<Figure> pollingRun(const QString& name, const QStringList& arguments, double seconds) {
    QProcess cli;
    cli.setStandardOutputFile(QProcess::nullDevice());
    cli.setStandardErrorFile(QProcess::nullDevice());
    cli.start(QStringLiteral(LUXLOG_CLI_PATH), arguments);
    if (!cli.waitForStarted(5000))
        return {{name + "_error", 1, "start_failed"}};
    // Past the start and the first exchanges.
    QThread::msleep(2000);
    const qint64 pid = cli.processId();
    const double cpu0 = childCpuSeconds(pid);
    QElapsedTimer wall;
    wall.start();
    QThread::msleep(static_cast<unsigned long>(seconds * 1000));
    const double cpu = childCpuSeconds(pid) - cpu0;
    const double elapsed = wall.nsecsElapsed() * 1e-9;
    const double peak = childPeakMegabytes(pid);
    const bool running = cli.state() == QProcess::Running;
    cli.terminate();
    cli.waitForFinished(5000);
    if (!running || cpu0 < 0)
        return {{name + "_error", 1, "no_process_figures"}};
    return {{name + "_cpu", cpu / elapsed, "cpu_s_per_s"}, {name + "_peak_memory", peak, "MB"}};
}

} // namespace

std::vector<Figure> cliFigures(const BenchOptions& o) {
    std::vector<Figure> figures;
    QTemporaryDir dir;
    const QString path = startMetersim(o.metersim, {});
    if (path.isEmpty())
        return {{"cli_error", 1, "metersim_failed"}};
    for (const Figure& f : pollingRun("cli_read", {"read", "--port", path}, o.pollSeconds))
        figures.push_back(f);
    for (const Figure& f : pollingRun(
             "cli_record", {"record", dir.filePath("bench.txt"), "--port", path, "--every", "1"},
             o.pollSeconds))
        figures.push_back(f);
    stopMetersim();

    const QString paced =
        startMetersim(o.metersim, {"--paced", "--big-set", QString::number(kSamples)});
    if (paced.isEmpty())
        return {{"cli_error", 1, "metersim_failed"}};
    QProcess cli;
    QElapsedTimer timer;
    timer.start();
    cli.start(QStringLiteral(LUXLOG_CLI_PATH), {"download", QString::number(kBigSet), "--port",
                                                paced, "-o", dir.filePath("set.txt")});
    const bool done = cli.waitForFinished(120000) && cli.exitStatus() == QProcess::NormalExit &&
                      cli.exitCode() == 0;
    const double seconds = timer.nsecsElapsed() * 1e-9;
    stopMetersim();
    if (!done) {
        figures.push_back({"cli_download_error", 1, "download_failed"});
        return figures;
    }
    const double wire = setDumpSize(kSamples) * kByteSeconds;
    figures.push_back({"cli_download_seconds", seconds, "s"});
    figures.push_back({"cli_download_wire_seconds", wire, "s"});
    figures.push_back({"cli_download_pauses", kFixedPauses, "s"});
    figures.push_back(
        {"cli_download_ratio", seconds / (wire + kFixedPauses), "x_wire_plus_pauses"});
    figures.push_back(
        {"cli_download_ratio_less_pauses", (seconds - kFixedPauses) / wire, "x_wire_time"});
    return figures;
}
