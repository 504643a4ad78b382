// luxlog-cli publish against a Mosquitto broker of its own on the loopback: CPU seconds per
// second and peak memory while publishing once a second from metersim, the time from a sample's
// stamp (when the PC clock reached it and the sample was taken) to a subscriber's receipt, and
// the replay of ten minutes of samples kept through a broker outage.
#include "bench/Benchmarks.h"
#include "cli/CliValues.h"
#include "cli/Publisher.h"
#include "integration/Mosquitto.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>

namespace {

// Ten minutes of one-second samples.
constexpr int kOutageSamples = 600;

// Runs the event loop (not in slices with sleeps between, as the tests' waits do) until `done`
// holds or `ms` pass: the replay's pace is the program's, not the wait's.
void runUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer waited;
    waited.start();
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done() || waited.elapsed() >= ms)
            loop.quit();
    });
    check.start(1);
    if (!done())
        loop.exec();
}

double percentile(std::vector<double> values, double share) {
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    const auto at = static_cast<std::size_t>(share * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(at, values.size() - 1)];
}

std::vector<Figure> publishingRun(const BenchOptions& o, const QString& folder) {
    const QString device = startMetersim(o.metersim, {});
    if (device.isEmpty())
        return {{"publish_error", 1, "metersim_failed"}};
    mqtttest::Broker broker(folder);
    mqtttest::Subscriber subscriber(broker.port(), {"luxlog/+/state"});
    QProcess cli;
    cli.setStandardOutputFile(QProcess::nullDevice());
    cli.setStandardErrorFile(QProcess::nullDevice());
    cli.start(QStringLiteral(LUXLOG_CLI_PATH),
              {"publish", "--port", device, "--broker", broker.address(), "--every", "1"});
    if (!cli.waitForStarted(5000))
        return {{"publish_error", 1, "start_failed"}};
    // Past the start, the ID read and the first samples.
    mqtttest::waitFor([&] { return subscriber.messages().size() >= 2; }, 15000);
    const std::size_t before = subscriber.messages().size();
    const qint64 pid = cli.processId();
    const double cpu0 = childCpuSeconds(pid);
    QElapsedTimer wall;
    wall.start();
    mqtttest::waitFor([&] { return wall.elapsed() >= o.pollSeconds * 1000; },
                      static_cast<int>(o.pollSeconds * 1000) + 1000);
    const double cpu = childCpuSeconds(pid) - cpu0;
    const double elapsed = wall.nsecsElapsed() * 1e-9;
    const double peak = childPeakMegabytes(pid);
    cli.terminate();
    cli.waitForFinished(15000);
    stopMetersim();

    std::vector<double> latencies;
    const std::vector<mqtttest::Message>& messages = subscriber.messages();
    for (std::size_t i = before; i < messages.size(); ++i) {
        const QString time =
            QJsonDocument::fromJson(messages[i].payload).object().value(u"time").toString();
        const QDateTime stamp = QDateTime::fromString(time, Qt::ISODate);
        if (stamp.isValid())
            latencies.push_back(
                (messages[i].receivedAt * 1000.0 - static_cast<double>(stamp.toMSecsSinceEpoch())));
    }
    if (cpu0 < 0 || latencies.empty())
        return {{"publish_error", 1, "no_figures"}};
    return {{"publish_cpu", cpu / elapsed, "cpu_s_per_s"},
            {"publish_peak_memory", peak, "MB"},
            {"publish_messages", static_cast<double>(latencies.size()), "messages"},
            {"publish_stamp_to_receipt_p50", percentile(latencies, 0.5), "ms"},
            {"publish_stamp_to_receipt_p99", percentile(latencies, 0.99), "ms"},
            {"publish_stamp_to_receipt_max", percentile(latencies, 1.0), "ms"}};
}

// The samples of a ten-minute outage kept by the publisher, then the broker back: from the
// start of the connection until the broker has acknowledged the last, and until a subscriber
// has it.
std::vector<Figure> replayRun(const QString& folder) {
    mqtttest::Broker broker(folder);
    mqtttest::Subscriber subscriber(broker.port(), {"luxlog/+/state"});
    mqtttest::waitFor([] { return false; }, 300); // the subscriber's subscription
    Publisher::Settings settings;
    settings.link.broker = *BrokerAddress::parse(broker.address(), false);
    settings.link.clientId = QStringLiteral("luxbench");
    settings.topics = {QStringLiteral("luxlog"), QStringLiteral("1")};
    settings.unit = QStringLiteral("LUX");
    Publisher publisher(settings);
    const QDateTime start = QDateTime::currentDateTime().addSecs(-kOutageSamples);
    for (int i = 0; i < kOutageSamples; ++i)
        publisher.take(PublishSample::make(isoTimeWithOffset(start.addSecs(i)),
                                           QString::number(300 + i % 5), u"LUX", 2000, false, false,
                                           false));
    QElapsedTimer timer;
    timer.start();
    QString error;
    if (!publisher.start(&error))
        return {{"publish_replay_error", 1, "start_failed"}};
    runUntil([&] { return publisher.sent() == kOutageSamples; }, 60000);
    const double acknowledged = timer.nsecsElapsed() * 1e-9;
    runUntil([&] { return subscriber.messages().size() >= kOutageSamples; }, 60000);
    const double received = timer.nsecsElapsed() * 1e-9;
    publisher.finish(1);
    if (publisher.sent() != kOutageSamples || subscriber.messages().size() < kOutageSamples)
        return {{"publish_replay_error", 1, "samples_missing"}};
    return {{"publish_replay_600_acknowledged", acknowledged, "s"},
            {"publish_replay_600_received", received, "s"}};
}

} // namespace

std::vector<Figure> publishFigures(const BenchOptions& o) {
    if (mqtttest::program(QStringLiteral("mosquitto")).isEmpty())
        return {{"publish_error", 1, "no_mosquitto"}};
    QTemporaryDir first;
    QTemporaryDir second;
    std::vector<Figure> figures = publishingRun(o, first.path());
    for (const Figure& f : replayRun(second.path()))
        figures.push_back(f);
    return figures;
}
