#pragma once

#include "cli/MqttLink.h"
#include "cli/PublishMessages.h"
#include "cli/PublishQueue.h"

#include <QString>
#include <functional>

// One meter's samples on their way to the broker: kept in order while it is away, sent once it
// is back; the meter's availability and its Home Assistant discovery config beside them.
class Publisher {
public:
    struct Settings {
        MqttOptions link; // its will is set here
        MeterTopics topics;
        bool discovery = true;
        QString unit; // the meter's unit at the start
        qsizetype capacity = PublishQueue::kCapacity;
    };

    explicit Publisher(Settings settings);

    // Starts connecting; false, with the reason, when the connection cannot even be tried.
    bool start(QString* error);

    // A new sample, sent at once while the broker is there.
    void take(const PublishSample& sample);

    // The end: waits up to `drainSeconds` for the kept samples to go, says "offline" (retained)
    // and disconnects. Runs the event loop meanwhile.
    void finish(double drainSeconds);

    // The broker refused the user, the password or its certificate: the reason.
    const QString& refusal() const { return m_refusal; }
    bool everConnected() const { return m_everConnected; }
    MqttLink& link() { return m_link; }

    qint64 taken() const { return m_taken; }
    qint64 sent() const { return m_sent; }
    qint64 dropped() const { return m_queue.dropped(); }
    qsizetype kept() const { return m_queue.size(); }

    // Messages for standard error: each loss and return of the broker once, the first dropped
    // sample.
    std::function<void(const QString&)> say;
    // The broker refused the client for good: the command should end.
    std::function<void()> refused;

private:
    void connected();
    void lost(const QString& reason);
    void published(int mid);
    void drain();
    void publishDiscovery();
    bool waitFor(const std::function<bool()>& done, double seconds);

    Settings m_settings;
    MqttLink m_link;
    PublishQueue m_queue;
    QString m_brokerText;
    QString m_discoveryUnit; // the unit of the config the broker holds; empty before one went
    QString m_unit;          // the unit of the newest sample
    QString m_refusal;
    bool m_everConnected = false;
    bool m_away = false; // a loss was said and no return yet
    bool m_saidDropping = false;
    qint64 m_taken = 0;
    qint64 m_sent = 0;
    qint64 m_droppedAtLoss = 0;
    std::optional<int> m_offlineMid;
    bool m_offlineAcknowledged = false;
};
