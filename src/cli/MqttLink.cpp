#include "cli/MqttLink.h"

#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <mosquitto.h>

namespace {

// The library's global state, set up once for the program.
void initialiseLibrary() {
    static const int once = mosquitto_lib_init();
    Q_UNUSED(once);
}

bool refusedForGood(int connackCode) {
    // 1: protocol version, 2: client ID, 4: user name or password, 5: not authorised. A broker
    // that is merely unavailable (3) may take the client later.
    return connackCode == 1 || connackCode == 2 || connackCode == 4 || connackCode == 5;
}

} // namespace

MqttLink::MqttLink(MqttOptions options)
    : m_options(std::move(options)) {
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &MqttLink::attempt);
    // The library's keep-alive pings and their timeouts.
    m_misc.setInterval(1000);
    connect(&m_misc, &QTimer::timeout, this, &MqttLink::housekeeping);
    // While a connection is being made the library's own loop steps it: a TLS handshake waits
    // on the socket in ways its notifiers do not show.
    m_handshake.setInterval(20);
    connect(&m_handshake, &QTimer::timeout, this, &MqttLink::stepConnection);
    m_writeAgain.setSingleShot(true);
    connect(&m_writeAgain, &QTimer::timeout, this, [this] {
        if (m_writer)
            m_writer->setEnabled(mosquitto_want_write(m_client));
    });
}

MqttLink::~MqttLink() {
    dropNotifiers();
    if (m_client)
        mosquitto_destroy(m_client);
}

bool MqttLink::start(QString* error) {
    initialiseLibrary();
    const QByteArray id = m_options.clientId.toUtf8();
    m_client = mosquitto_new(id.isEmpty() ? nullptr : id.constData(), true, this);
    if (!m_client) {
        *error = QStringLiteral("the MQTT client could not be made: %1").arg(strerror(errno));
        return false;
    }
    // Small messages go at once instead of waiting to be joined with the next.
    mosquitto_int_option(m_client, MOSQ_OPT_TCP_NODELAY, 1);
    if (!m_options.user.isEmpty()) {
        const QByteArray user = m_options.user.toUtf8();
        const int rc = mosquitto_username_pw_set(
            m_client, user.constData(),
            m_options.password ? m_options.password->constData() : nullptr);
        if (rc != MOSQ_ERR_SUCCESS) {
            *error = QStringLiteral("the user name was refused: %1").arg(mosquitto_strerror(rc));
            return false;
        }
    }
    if (!m_options.willTopic.isEmpty()) {
        const QByteArray topic = m_options.willTopic.toUtf8();
        const int rc =
            mosquitto_will_set(m_client, topic.constData(), int(m_options.willPayload.size()),
                               m_options.willPayload.constData(), 1, true);
        if (rc != MOSQ_ERR_SUCCESS) {
            *error = QStringLiteral("the last will was refused: %1").arg(mosquitto_strerror(rc));
            return false;
        }
    }
    if (!m_options.caFile.isEmpty()) {
        const QByteArray ca = m_options.caFile.toLocal8Bit();
        const int rc =
            mosquitto_tls_set(m_client, ca.constData(), nullptr, nullptr, nullptr, nullptr);
        if (rc != MOSQ_ERR_SUCCESS) {
            *error = QStringLiteral("cannot use %1 as the certificate authority: %2")
                         .arg(m_options.caFile, QString::fromUtf8(mosquitto_strerror(rc)));
            return false;
        }
    }
    mosquitto_connect_callback_set(m_client, connectCallback);
    mosquitto_disconnect_callback_set(m_client, disconnectCallback);
    mosquitto_publish_callback_set(m_client, publishCallback);
    mosquitto_log_callback_set(m_client, logCallback);
    attempt();
    return true;
}

void MqttLink::attempt() {
    if (m_stopping || m_refused)
        return;
    dropNotifiers();
    m_lastError.clear();
    int rc = MOSQ_ERR_SUCCESS;
    errno = 0;
    if (m_initialised) {
        rc = mosquitto_reconnect_async(m_client);
    } else {
        const QByteArray host = m_options.broker.host.toUtf8();
        rc = mosquitto_connect_async(m_client, host.constData(), m_options.broker.port,
                                     m_options.keepAliveSeconds);
        m_initialised = rc != MOSQ_ERR_INVAL;
    }
    if (rc != MOSQ_ERR_SUCCESS) {
        failed(rc);
    } else {
        m_attemptClock.start();
        m_handshake.start();
    }
    afterLibraryCall();
}

void MqttLink::abandon(const QString& reason) {
    // The library closes the socket at the next attempt.
    m_handshake.stop();
    m_events.push_back({Event::Kind::Lost, 0, reason});
    dispatch();
}

void MqttLink::failed(int code) {
    if (code == MOSQ_ERR_TLS || code == MOSQ_ERR_TLS_HANDSHAKE || code == MOSQ_ERR_INVAL)
        m_events.push_back({Event::Kind::Refused, code, reasonOf(code)});
    else
        m_events.push_back({Event::Kind::Lost, code, reasonOf(code)});
}

QString MqttLink::reasonOf(int code) const {
    if (code == MOSQ_ERR_TLS || code == MOSQ_ERR_TLS_HANDSHAKE) {
        return m_lastError.isEmpty() ? QStringLiteral("the TLS handshake failed")
                                     : QStringLiteral("the TLS handshake failed: ") + m_lastError;
    }
    if (code == MOSQ_ERR_ERRNO && errno != 0)
        return QString::fromLocal8Bit(strerror(errno));
    if (code == MOSQ_ERR_EAI)
        return QStringLiteral("the host name is not known");
    return QString::fromUtf8(mosquitto_strerror(code));
}

std::optional<int> MqttLink::publish(const QString& topic, const QByteArray& payload, bool retain) {
    int mid = 0;
    const QByteArray name = topic.toUtf8();
    const int rc = mosquitto_publish(m_client, &mid, name.constData(), int(payload.size()),
                                     payload.constData(), 1, retain);
    afterLibraryCall();
    switch (rc) {
    case MOSQ_ERR_INVAL:
    case MOSQ_ERR_NOMEM:
    case MOSQ_ERR_PAYLOAD_SIZE:
    case MOSQ_ERR_MALFORMED_UTF8:
    case MOSQ_ERR_QOS_NOT_SUPPORTED:
    case MOSQ_ERR_OVERSIZE_PACKET:
        return std::nullopt;
    default:
        // Sent, or kept by the library for the next connection.
        return mid;
    }
}

void MqttLink::disconnect() {
    m_stopping = true;
    m_retry.stop();
    m_handshake.stop();
    if (m_client && mosquitto_socket(m_client) >= 0)
        mosquitto_disconnect(m_client);
    afterLibraryCall();
}

bool MqttLink::closed() const {
    return !m_client || mosquitto_socket(m_client) < 0;
}

void MqttLink::connectCallback(mosquitto*, void* self, int code) {
    auto* link = static_cast<MqttLink*>(self);
    if (code == 0) {
        link->m_events.push_back({Event::Kind::Connected, 0, {}});
    } else if (refusedForGood(code)) {
        link->m_refused = true;
        link->m_events.push_back(
            {Event::Kind::Refused, code, QString::fromUtf8(mosquitto_connack_string(code))});
    } else {
        link->m_lastError = QString::fromUtf8(mosquitto_connack_string(code));
    }
}

void MqttLink::disconnectCallback(mosquitto*, void* self, int code) {
    const int error = errno;
    auto* link = static_cast<MqttLink*>(self);
    if (link->m_stopping || link->m_refused)
        return;
    errno = error;
    if (code == MOSQ_ERR_CONN_REFUSED && !link->m_lastError.isEmpty())
        link->m_events.push_back({Event::Kind::Lost, code, link->m_lastError});
    else
        link->failed(code);
}

void MqttLink::publishCallback(mosquitto*, void* self, int mid) {
    static_cast<MqttLink*>(self)->m_events.push_back({Event::Kind::Published, mid, {}});
}

void MqttLink::logCallback(mosquitto*, void* self, int level, const char* text) {
    if (level == MOSQ_LOG_ERR)
        static_cast<MqttLink*>(self)->m_lastError = QString::fromUtf8(text);
}

void MqttLink::dispatch() {
    // Handlers publish, which calls back in here: the outer call goes on with what they add.
    if (m_dispatching)
        return;
    m_dispatching = true;
    while (!m_events.empty()) {
        const Event event = m_events.front();
        m_events.erase(m_events.begin());
        switch (event.kind) {
        case Event::Kind::Connected:
            m_handshake.stop();
            m_connected = true;
            watchSocket();
            m_backoff.reset();
            if (onConnected)
                onConnected();
            break;
        case Event::Kind::Lost: {
            m_handshake.stop();
            m_connected = false;
            dropNotifiers();
            if (m_stopping || m_refused)
                break;
            const double wait = m_backoff.next();
            m_retry.start(static_cast<int>(wait * 1000));
            if (onLost)
                onLost(event.reason, wait);
            break;
        }
        case Event::Kind::Refused:
            m_handshake.stop();
            m_connected = false;
            dropNotifiers();
            m_refused = true;
            m_retry.stop();
            // The library may report one refusal twice (the handshake, then the socket's end).
            if (m_refusalReported)
                break;
            m_refusalReported = true;
            if (onRefused)
                onRefused(event.reason);
            break;
        case Event::Kind::Published:
            if (onPublished)
                onPublished(event.code);
            break;
        }
    }
    m_dispatching = false;
}
