// luxlog-cli publish: the live readings, sampled as "record" samples them, sent to an MQTT
// broker for the building's monitoring.
#include "cli/CliSession.h"
#include "cli/CliValues.h"
#include "cli/CommandTable.h"
#include "cli/Console.h"
#include "cli/Publisher.h"
#include "cli/SystemConsole.h"
#include "common/CalendarTime.h"
#include "common/SharedState.h"
#include "panel/MeterId.h"
#include "panel/SamplingTick.h"
#include "panel/SamplingTimer.h"
#include "records/RecordExport.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QTimeZone>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace {

struct PublishRequest {
    MqttOptions link;
    QString prefix = QStringLiteral("luxlog");
    bool discovery = true;
    int samplingSeconds = 1;
    std::optional<qint64> forSeconds;
};

// The sampling tick's live list is the publisher's feed: each sample it takes becomes a message.
// A change of unit or range, which ends a list, only starts the next one.
class PublishSinks : public SampleSinks {
public:
    PublishSinks(SharedState& state, Publisher& publisher)
        : m_state(state)
        , m_publisher(publisher) {}

    bool writeRecordLine(const QString&) override { return false; }
    void recordingStopped(StopReason) override {}
    void showRecordCount(const QString&) override {}
    void clearRecordingLabels() override {}
    void addListRow(const QString&) override {
        const QString shown = shownFromHeld(m_state.RecordTime);
        m_publisher.take(PublishSample::make(isoTime(shown, m_zone).value_or(shown),
                                             m_state.Value.text(), m_state.Unit, m_state.Range,
                                             m_state.BatLow, m_state.HoldOn, m_state.MaxOn));
    }
    void listEnded() override { follow(m_state); }

    // Samples from now on, in the meter's present unit and range.
    static void follow(SharedState& state) {
        state.ListOn = true;
        state.ListCount = 0;
        state.RefUnit = state.Unit;
        state.RefRange = state.Range;
    }

private:
    SharedState& m_state;
    Publisher& m_publisher;
    const QTimeZone m_zone = QTimeZone::systemTimeZone();
};

QString sampleCountText(qint64 n) {
    return QString::number(n) + (n == 1 ? QStringLiteral(" sample") : QStringLiteral(" samples"));
}

int runPublish(CliSession& session, const PublishRequest& request) {
    SharedState& state = session.state;
    Clock& clock = session.clock;
    Console& console = session.console;
    console.stampMessages(true);
    session.reportLink(QStringLiteral("; samples are left out until it answers"));
    // The topics carry the meter's ID, read once as "Save" reads it, after a first reading.
    if (!session.firstReading())
        return session.stopped() ? 0 : 1;
    const std::optional<Value> id = readMeterId(session.context);
    if (!id)
        return session.stopped() ? 0 : 1;

    Publisher::Settings settings;
    settings.link = request.link;
    settings.topics = {request.prefix, id->text()};
    if (settings.link.clientId.isEmpty())
        settings.link.clientId =
            QStringLiteral("luxlog-%1-%2").arg(id->text(), QSysInfo::machineHostName());
    settings.discovery = request.discovery;
    settings.unit = state.Unit;
    Publisher publisher(settings);
    publisher.say = [&console](const QString& text) { console.message(text); };
    publisher.refused = [&session] { session.stop(); };
    QString error;
    if (!publisher.start(&error)) {
        console.message(error);
        return 1;
    }

    // Sample k is taken when the PC clock reaches its stamp, start + k × the sampling time.
    startSampling(state, clock.wallNow(), clock.monotonic());
    state.SamplingTime = static_cast<float>(request.samplingSeconds);
    state.SampleTick = 0;
    PublishSinks::follow(state);
    const double startedClock = state.RecordClock;
    PublishSinks sinks(state, publisher);
    SamplingTimer timer2(state, clock, session.context.timers, sinks);
    timer2.start();

    SessionDeadline deadline(session, request.forSeconds);

    const double startedAt = clock.monotonic();
    const QString topic = settings.topics.state();
    double shownAt = -1;
    while (!session.stopped()) {
        if (session.poll->poll() == PollCycle::Outcome::Stopped)
            break;
        // The status line on a terminal, about once a second.
        if (clock.monotonic() - shownAt >= 1) {
            shownAt = clock.monotonic();
            console.progress(QStringLiteral("%1: %2 sent, %3 kept, last %4 %5, %6")
                                 .arg(topic)
                                 .arg(publisher.sent())
                                 .arg(publisher.kept())
                                 .arg(state.Value.text(), state.Unit,
                                      elapsedText(clock.monotonic() - startedAt)));
        }
    }
    timer2.stop();
    deadline.stop();
    state.ListOn = false;
    console.endProgress();
    if (!publisher.refusal().isEmpty()) {
        console.message(QStringLiteral("the broker at %1 refused the connection: %2")
                            .arg(settings.link.broker.text(), publisher.refusal()));
        return 1;
    }
    publisher.finish(5);

    const double step = std::max<double>(1, request.samplingSeconds);
    const auto due = static_cast<qint64>(std::llround((state.RecordClock - startedClock) / step));
    const qint64 leftOut = std::max<qint64>(0, due - publisher.taken());
    QString tally = QStringLiteral("%1 of %2 sent, %3 left out")
                        .arg(publisher.sent())
                        .arg(sampleCountText(publisher.taken()))
                        .arg(leftOut);
    if (publisher.dropped() > 0)
        tally += QStringLiteral(", %1 dropped").arg(publisher.dropped());
    if (publisher.kept() > 0)
        tally += QStringLiteral(", %1 never reached the broker").arg(publisher.kept());
    const QString why =
        deadline.reached() ? QStringLiteral("--for ran out") : QStringLiteral("stopped");
    console.message(QStringLiteral("%1: %2; %3").arg(topic, tally, why));
    return 0;
}

const QCommandLineOption kBroker(QStringLiteral("broker"), {}, QStringLiteral("HOST[:PORT]"));
const QCommandLineOption kTopic(QStringLiteral("topic"), {}, QStringLiteral("PREFIX"));
const QCommandLineOption kPublishEvery(QStringLiteral("every"), {}, QStringLiteral("SECONDS"));
const QCommandLineOption kPublishFor(QStringLiteral("for"), {}, QStringLiteral("DURATION"));
const QCommandLineOption kUser(QStringLiteral("user"), {}, QStringLiteral("NAME"));
const QCommandLineOption kPasswordFile(QStringLiteral("password-file"), {}, QStringLiteral("FILE"));
const QCommandLineOption kTlsCa(QStringLiteral("tls-ca"), {}, QStringLiteral("FILE"));
const QCommandLineOption kClientId(QStringLiteral("client-id"), {}, QStringLiteral("ID"));
const QCommandLineOption kNoDiscovery(QStringLiteral("no-discovery"), {});

const QString kPublishHelp = QStringLiteral(
    "Sends the meter's readings to an MQTT broker, sampled as \"record\" samples them:\n"
    "each sample is a JSON message on PREFIX/ID/state (at least once, not retained),\n"
    "where ID is the meter's ID code:\n"
    "\n"
    "  "
    "{\"time\":\"2026-12-07T14:05:09+01:00\",\"value\":302,\"reading\":\"302\",\"unit\":\"LUX\",\n"
    "   \"range\":2000,\"battery_low\":false,\"meter_id\":\"12\",\"hold\":false,\"max\":false}\n"
    "\n"
    "value is null for OL. PREFIX/ID/availability holds \"online\" (retained) while the\n"
    "program is connected, \"offline\" after it ends or its connection dies. Home\n"
    "Assistant finds the meter by itself: a retained config goes to\n"
    "homeassistant/sensor/luxlog_ID/illuminance/config, and again when the unit changes.\n"
    "\n"
    "While the broker is away the samples are kept (up to 86,400, the oldest dropped\n"
    "first) and sent in order once it is back; the program tries again after 1 s,\n"
    "then waits twice as long each time, up to 30 s. A broker that refuses the user or\n"
    "the password, or a certificate that does not chain to --tls-ca, ends it with exit\n"
    "status 1. It ends after DURATION, or on Ctrl-C, SIGTERM or SIGHUP (exit status 0).\n"
    "\n"
    "Options:\n"
    "  --port NAME       the meter's port (see \"luxlog-cli record --help\")\n"
    "  --broker HOST[:PORT]  the broker; the port is 1883, or 8883 with --tls-ca\n"
    "  --topic PREFIX    the topics' prefix (default luxlog)\n"
    "  --every SECONDS   sampling time in whole seconds, 1 to 86400 (default 1)\n"
    "  --for DURATION    stop this long after the start: 90s, 15m, 24h, 2d, 1h30m\n"
    "  --user NAME       the user name the broker knows\n"
    "  --password-file FILE  the password: the file's first line\n"
    "  --tls-ca FILE     TLS, with the broker's certificate checked against this CA\n"
    "  --client-id ID    the client's name at the broker (default luxlog-ID-HOSTNAME)\n"
    "  --no-discovery    send no Home Assistant config\n"
    "  -h, --help        this text\n");

// The first line of the password file; nullopt after saying why it cannot be had.
std::optional<QByteArray> passwordFrom(Console& console, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        console.message(
            QStringLiteral("cannot read the password file %1: %2").arg(path, file.errorString()));
        return std::nullopt;
    }
    QByteArray line = file.readLine(4096);
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    if (line.isEmpty()) {
        console.message(QStringLiteral("the password file %1 holds no password").arg(path));
        return std::nullopt;
    }
    return line;
}

int publishCommand(const Invocation& call) {
    const QCommandLineParser& parser = call.parser;
    PublishRequest request;
    const bool tls = parser.isSet(kTlsCa);
    if (!parser.isSet(kBroker))
        return call.usageError(QStringLiteral("name the broker with --broker HOST[:PORT]"));
    const std::optional<BrokerAddress> broker = BrokerAddress::parse(parser.value(kBroker), tls);
    if (!broker)
        return call.usageError(
            QStringLiteral("--broker takes HOST or HOST:PORT, with a port from 1 to 65535"));
    request.link.broker = *broker;
    if (parser.isSet(kTopic)) {
        const std::optional<QString> prefix = topicPrefix(parser.value(kTopic));
        if (!prefix)
            return call.usageError(
                QStringLiteral("--topic takes a topic without + or #, not starting with $"));
        request.prefix = *prefix;
    }
    if (parser.isSet(kPublishEvery)) {
        const std::optional<qint64> seconds =
            parseWholeNumber(parser.value(kPublishEvery), 1, 86400);
        if (!seconds)
            return call.usageError(QStringLiteral("--every takes whole seconds from 1 to 86400"));
        request.samplingSeconds = static_cast<int>(*seconds);
    }
    if (parser.isSet(kPublishFor)) {
        request.forSeconds = parseDuration(parser.value(kPublishFor));
        if (!request.forSeconds)
            return call.usageError(
                QStringLiteral("--for takes a duration such as 90s, 15m, 24h, 2d or 1h30m"));
    }
    if (parser.isSet(kPasswordFile) && !parser.isSet(kUser))
        return call.usageError(QStringLiteral("--password-file goes with --user"));
    request.link.user = parser.value(kUser);
    request.link.clientId = parser.value(kClientId);
    request.discovery = !parser.isSet(kNoDiscovery);
    if (parser.isSet(kPasswordFile)) {
        request.link.password = passwordFrom(call.console, parser.value(kPasswordFile));
        if (!request.link.password)
            return 1;
    }
    if (tls) {
        request.link.caFile = parser.value(kTlsCa);
        if (!QFileInfo(request.link.caFile).isReadable()) {
            call.console.message(
                QStringLiteral("cannot read the CA file %1").arg(request.link.caFile));
            return 1;
        }
    }

    CliSession session(call.console);
    const StopSignals stops([&session] { session.stop(); });
    if (!session.openPort(call.port))
        return 1;
    return runPublish(session, request);
}

} // namespace

CliCommand publishCliCommand() {
    return {.name = QStringLiteral("publish"),
            .synopsis = QStringLiteral("publish"),
            .summary = QStringLiteral("live samples to an MQTT broker, for Home Assistant and "
                                      "the like"),
            .positionals = 0,
            .meter = true,
            .options = {kBroker, kTopic, kPublishEvery, kPublishFor, kUser, kPasswordFile, kTlsCa,
                        kClientId, kNoDiscovery},
            .usage = QStringLiteral(
                "luxlog-cli publish --port NAME --broker HOST[:PORT] [--topic PREFIX]\n"
                "                  [--every SECONDS] [--for DURATION] [--user NAME\n"
                "                  --password-file FILE] [--tls-ca FILE] [--client-id ID]\n"
                "                  [--no-discovery]"),
            .help = kPublishHelp,
            .run = publishCommand};
}
