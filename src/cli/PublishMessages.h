#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <array>
#include <optional>

// What `luxlog-cli publish` sends, without the broker: the sample as it waits for the broker, the
// topics, and the messages' texts.

// One sample while it waits to be sent: fixed-size texts, so that a day of samples kept through
// a long broker outage stays a few megabytes.
struct PublishSample {
    // ISO 8601 with the offset, "2026-12-07T14:05:09+01:00".
    std::array<char, 32> time{};
    // As the meter shows it: "302", "10.5", "OL".
    std::array<char, 16> reading{};
    // "LUX" or "Fc".
    std::array<char, 8> unit{};
    qint16 range = -1; // -1 before the first frame told it
    bool batteryLow = false;
    bool hold = false;
    bool max = false;

    // Longer texts are cut to their field; no time or reading the meter sends comes near it.
    static PublishSample make(QStringView time, QStringView reading, QStringView unit,
                              std::optional<int> range, bool batteryLow, bool hold, bool max);
    QString timeText() const;
    QString readingText() const;
    QString unitText() const;
};

// Where the broker listens: HOST, HOST:PORT, [IPv6] or [IPv6]:PORT; the port defaults to 1883,
// 8883 over TLS. nullopt for an empty host or a port that is no number from 1 to 65535.
struct BrokerAddress {
    QString host;
    int port = 0;

    static std::optional<BrokerAddress> parse(QStringView text, bool tls);
    // "host:port", "[::1]:1883".
    QString text() const;
};

// The topics of one meter under a prefix ("luxlog"): PREFIX/ID/state and PREFIX/ID/availability,
// and Home Assistant's discovery topic.
struct MeterTopics {
    QString prefix;
    QString meterId;

    QString state() const;
    QString availability() const;
    QString discovery() const;
    // "luxlog_12": the meter's name in Home Assistant.
    QString uniqueId() const;
};

// A topic prefix as given, without a trailing '/'; nullopt when it is empty or holds a wildcard
// ('+', '#') or a NUL.
std::optional<QString> topicPrefix(QStringView text);

// The sample as JSON: the keys of an exported row but `number`, then `hold` and `max`.
QByteArray stateMessage(const PublishSample& sample, const QString& meterId);

// Home Assistant's discovery config for the meter in `unit`: illuminance in lx, or a sensor
// without a device class in fc.
QByteArray discoveryMessage(const MeterTopics& topics, QStringView unit);
