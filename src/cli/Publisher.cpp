#include "cli/Publisher.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace {

const QByteArray kOnline = QByteArrayLiteral("online");
const QByteArray kOffline = QByteArrayLiteral("offline");

MqttOptions withWill(MqttOptions options, const MeterTopics& topics) {
    // A connection that dies without a word leaves the meter shown as offline.
    options.willTopic = topics.availability();
    options.willPayload = kOffline;
    return options;
}

QString samplesText(qint64 n) {
    return QString::number(n) + (n == 1 ? QStringLiteral(" sample") : QStringLiteral(" samples"));
}

} // namespace

Publisher::Publisher(Settings settings)
    : m_settings(std::move(settings))
    , m_link(withWill(m_settings.link, m_settings.topics))
    , m_queue(m_settings.capacity)
    , m_brokerText(m_settings.link.broker.text())
    , m_unit(m_settings.unit) {
    m_link.onConnected = [this] { connected(); };
    m_link.onLost = [this](const QString& reason, double) { lost(reason); };
    m_link.onRefused = [this](const QString& reason) {
        m_refusal = reason;
        if (refused)
            refused();
    };
    m_link.onPublished = [this](int mid) { published(mid); };
}

bool Publisher::start(QString* error) {
    return m_link.start(error);
}

void Publisher::take(const PublishSample& sample) {
    ++m_taken;
    m_unit = sample.unitText();
    if (m_link.connected() && m_unit != m_discoveryUnit)
        publishDiscovery();
    if (const std::optional<PublishSample> gone = m_queue.push(sample)) {
        if (!m_saidDropping && say)
            say(QStringLiteral("%1 kept for the broker: the oldest (%2) is dropped for each new "
                               "one while it stays away")
                    .arg(samplesText(m_queue.size()), gone->timeText()));
        m_saidDropping = true;
    }
    drain();
}

void Publisher::connected() {
    if (say) {
        if (!m_everConnected) {
            say(QStringLiteral("connected to the broker at %1%2")
                    .arg(m_brokerText,
                         m_queue.size() > 0
                             ? QStringLiteral(": %1 kept follow").arg(samplesText(m_queue.size()))
                             : QString()));
        } else if (m_away) {
            const qint64 dropped = m_queue.dropped() - m_droppedAtLoss;
            say(QStringLiteral("the broker at %1 is back: %2 kept follow%3")
                    .arg(m_brokerText, samplesText(m_queue.size()),
                         dropped > 0 ? QStringLiteral(" (%1 dropped)").arg(samplesText(dropped))
                                     : QString()));
        }
    }
    m_everConnected = true;
    m_away = false;
    m_saidDropping = false;
    m_link.publish(m_settings.topics.availability(), kOnline, true);
    // The broker keeps the config, but one restarted without its store has lost it.
    publishDiscovery();
    drain();
}

void Publisher::lost(const QString& reason) {
    if (m_away)
        return;
    m_away = true;
    m_droppedAtLoss = m_queue.dropped();
    if (!say)
        return;
    if (m_everConnected)
        say(QStringLiteral("the broker at %1 is away (%2); samples are kept and sent when it is "
                           "back")
                .arg(m_brokerText, reason));
    else
        say(QStringLiteral("cannot reach the broker at %1 (%2); samples are kept until it "
                           "answers")
                .arg(m_brokerText, reason));
}

void Publisher::published(int mid) {
    if (m_queue.acknowledged(mid)) {
        ++m_sent;
        drain();
    } else if (m_offlineMid && mid == *m_offlineMid) {
        m_offlineAcknowledged = true;
    }
}

void Publisher::drain() {
    while (m_link.connected()) {
        const PublishSample* sample = m_queue.next();
        if (!sample)
            return;
        const std::optional<int> mid = m_link.publish(
            m_settings.topics.state(), stateMessage(*sample, m_settings.topics.meterId), false);
        if (!mid)
            return;
        m_queue.handed(*mid);
    }
}

void Publisher::publishDiscovery() {
    if (!m_settings.discovery || m_unit.isEmpty())
        return;
    if (m_link.publish(m_settings.topics.discovery(), discoveryMessage(m_settings.topics, m_unit),
                       true))
        m_discoveryUnit = m_unit;
}

bool Publisher::waitFor(const std::function<bool()>& done, double seconds) {
    QElapsedTimer waited;
    waited.start();
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done() || waited.elapsed() >= seconds * 1000)
            loop.quit();
    });
    check.start(5);
    if (!done())
        loop.exec();
    return done();
}

void Publisher::finish(double drainSeconds) {
    if (m_link.connected())
        waitFor([this] { return m_queue.size() == 0 || !m_link.connected(); }, drainSeconds);
    if (m_link.connected()) {
        m_offlineMid = m_link.publish(m_settings.topics.availability(), kOffline, true);
        waitFor([this] { return m_offlineAcknowledged || !m_link.connected(); }, 5);
    }
    m_link.disconnect();
    waitFor([this] { return m_link.closed(); }, 2);
}
