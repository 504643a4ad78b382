#pragma once

#include "cli/PublishMessages.h"
#include "cli/PublishQueue.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QSocketNotifier;
struct mosquitto;

// What a connection to the broker is made with.
struct MqttOptions {
    BrokerAddress broker;
    QString clientId;
    QString user; // none when empty
    std::optional<QByteArray> password;
    QString caFile;    // TLS when set: the broker's certificate must chain to it
    QString willTopic; // retained, at least once, when the connection dies
    QByteArray willPayload;
    int keepAliveSeconds = 30;
};

// One MQTT client of the Mosquitto library on the program's event loop: its socket is watched
// by the loop, so nothing blocks the meter's poll, and no thread is needed. It connects without
// waiting, and after a loss tries again with a growing back-off until told to stop. The library
// keeps what it was handed while the connection is down and sends it again, in order, once it
// is back.
class MqttLink : public QObject {
public:
    explicit MqttLink(MqttOptions options);
    ~MqttLink() override;
    MqttLink(const MqttLink&) = delete;
    MqttLink& operator=(const MqttLink&) = delete;

    // Sets the client up and makes the first attempt; false, with the reason, when the library
    // refuses the options (a CA file it cannot read).
    bool start(QString* error);
    bool connected() const { return m_connected; }

    // At least once; the message id, or nullopt when the library refused the message itself.
    // While no connection is up the library keeps it for the next one.
    std::optional<int> publish(const QString& topic, const QByteArray& payload, bool retain);

    // A clean end: the broker drops the will. No attempts after it.
    void disconnect();
    // Nothing of the connection is left: disconnect() went through, or there was none.
    bool closed() const;

    // Each runs from the event loop, never inside the library.
    // The broker accepted the connection.
    std::function<void()> onConnected;
    // The connection, or an attempt at one, failed; another follows after `retryIn` seconds.
    std::function<void(const QString& reason, double retryIn)> onLost;
    // The broker refused the user or the password, or the broker's certificate was refused:
    // trying again would not help, so no attempt follows.
    std::function<void(const QString& reason)> onRefused;
    // The broker acknowledged message `mid`.
    std::function<void(int mid)> onPublished;

private:
    // How long an attempt may take until the broker answers it.
    static constexpr qint64 kAnswerMs = 15000;

    struct Event {
        enum class Kind { Connected, Lost, Refused, Published } kind;
        int code = 0;
        QString reason;
    };

    static void connectCallback(mosquitto*, void* self, int code);
    static void disconnectCallback(mosquitto*, void* self, int code);
    static void publishCallback(mosquitto*, void* self, int mid);
    static void logCallback(mosquitto*, void* self, int level, const char* text);

    void attempt();
    void stepConnection();
    void abandon(const QString& reason);
    void failed(int code);
    void watchSocket();
    void dropNotifiers();
    void readReady();
    void writeReady();
    void housekeeping();
    void afterLibraryCall();
    void dispatch();
    QString reasonOf(int code) const;

    MqttOptions m_options;
    mosquitto* m_client = nullptr;
    bool m_initialised = false; // the first connect gave the library the broker's address
    bool m_connected = false;
    bool m_stopping = false;
    bool m_refused = false;
    bool m_refusalReported = false;
    bool m_dispatching = false;
    int m_socket = -1;
    std::unique_ptr<QSocketNotifier> m_reader;
    std::unique_ptr<QSocketNotifier> m_writer;
    QTimer m_retry;
    QTimer m_misc;
    QTimer m_handshake;
    QElapsedTimer m_attemptClock;
    QTimer m_writeAgain;
    Backoff m_backoff;
    QString m_lastError; // the library's last error line (OpenSSL's reasons come this way)
    std::vector<Event> m_events;
};
