// Downloading a logger set from the pseudo-terminal simulator paced at 9600 baud.
#include "bench/Benchmarks.h"

#include "link/LoggerReplies.h"
#include "link/MeterExchange.h"
#include "link/RealClock.h"
#include "link/SystemSerialPort.h"

#include <QElapsedTimer>

namespace {

constexpr int kSamples = 16000;
constexpr double kByteSeconds = 10.0 / 9600.0;

} // namespace

std::vector<Figure> downloadPty(const BenchOptions& o) {
    const QString path =
        startMetersim(o.metersim, {"--paced", "--big-set", QString::number(kSamples)});
    if (path.isEmpty())
        return {{"download_error", 1, "metersim_failed"}};
    SystemSerialPort port(path);
    RealClock clock;
    std::vector<Figure> figures;
    if (port.open(nullptr)) {
        MeterExchange exchange(port, clock);
        const auto settings = SettingsReply::decode(exchange.ReadSettings().reply);
        const auto index =
            settings ? exchange.ReadSetIndex(settings->setCount) : LinkResult<QByteArray>{};
        const auto entries =
            index.ok() ? decodeSetIndex(index.reply, settings->setCount) : std::nullopt;
        if (entries && !entries->empty()) {
            const int set = static_cast<int>(entries->size());
            const int samples = entries->back().sampleCount;
            QElapsedTimer timer;
            const double cpu0 = processCpuSeconds();
            timer.start();
            const auto dump = exchange.ReadSet(static_cast<quint8>(set), samples);
            const double seconds = timer.nsecsElapsed() * 1e-9;
            const double cpu = processCpuSeconds() - cpu0;
            const double wire = setDumpSize(samples) * kByteSeconds;
            // The pauses before the dump starts: two wake passes (the first only wakes the
            // meter), the pause after the wake, and those after " " and "K". The pause after
            // the set byte overlaps the dump's first bytes.
            const double pauses = 5 * MeterExchange::kPause;
            if (dump.ok()) {
                figures = {{"download_bytes", double(dump.reply.size()), "bytes"},
                           {"download_seconds", seconds, "s"},
                           {"download_wire_seconds", wire, "s"},
                           {"download_ratio", seconds / wire, "x_wire_time"},
                           {"download_ratio_less_pauses", (seconds - pauses) / wire, "x_wire_time"},
                           {"download_cpu", cpu / seconds, "cpu_s_per_s"}};
            }
        }
    }
    if (figures.empty())
        figures = {{"download_error", 1, "exchange_failed"}};
    stopMetersim();
    return figures;
}
