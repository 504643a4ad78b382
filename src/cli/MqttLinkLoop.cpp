// The link's socket on the program's event loop: stepped by the library's own loop until the
// broker answers, then watched by notifiers.
#include "cli/MqttLink.h"

#include <QSocketNotifier>
#include <cstring>
#include <mosquitto.h>
#include <poll.h>
#include <sys/socket.h>

void MqttLink::stepConnection() {
    // A refused or broken TCP connection shows as the socket's error or hang-up; the library
    // would go on stepping a TLS handshake over it, so the attempt ends here.
    const int socket = mosquitto_socket(m_client);
    pollfd watched{socket, POLLOUT, 0};
    if (socket >= 0 && poll(&watched, 1, 0) > 0 && (watched.revents & (POLLERR | POLLHUP))) {
        int error = 0;
        socklen_t size = sizeof error;
        getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &size);
        abandon(error != 0 ? QString::fromLocal8Bit(strerror(error))
                           : QStringLiteral("the connection ended before the broker answered"));
        return;
    }
    if (m_attemptClock.elapsed() > kAnswerMs) {
        abandon(QStringLiteral("no answer within %1 s").arg(kAnswerMs / 1000));
        return;
    }
    const int rc = mosquitto_loop(m_client, 0, 1);
    if (rc != MOSQ_ERR_SUCCESS && m_events.empty() && !m_stopping && !m_refused)
        failed(rc);
    afterLibraryCall();
}

void MqttLink::watchSocket() {
    dropNotifiers();
    m_socket = mosquitto_socket(m_client);
    if (m_socket < 0)
        return;
    m_reader = std::make_unique<QSocketNotifier>(m_socket, QSocketNotifier::Read);
    connect(m_reader.get(), &QSocketNotifier::activated, this, &MqttLink::readReady);
    m_writer = std::make_unique<QSocketNotifier>(m_socket, QSocketNotifier::Write);
    m_writer->setEnabled(mosquitto_want_write(m_client));
    connect(m_writer.get(), &QSocketNotifier::activated, this, &MqttLink::writeReady);
    m_misc.start();
}

void MqttLink::dropNotifiers() {
    m_reader.reset();
    m_writer.reset();
    m_writeAgain.stop();
    m_misc.stop();
    m_socket = -1;
}

void MqttLink::readReady() {
    const int rc = mosquitto_loop_read(m_client, 1);
    if (rc != MOSQ_ERR_SUCCESS && m_events.empty() && !m_stopping && !m_refused &&
        mosquitto_socket(m_client) >= 0)
        failed(rc);
    afterLibraryCall();
}

void MqttLink::writeReady() {
    const int rc = mosquitto_loop_write(m_client, 1);
    if (rc != MOSQ_ERR_SUCCESS && m_events.empty() && !m_stopping && !m_refused &&
        mosquitto_socket(m_client) >= 0)
        failed(rc);
    afterLibraryCall();
    // Still wanting to write after a write (a TLS handshake under way, a full socket buffer):
    // look again shortly instead of spinning on a socket that is always writable.
    if (m_writer && m_writer->isEnabled()) {
        m_writer->setEnabled(false);
        m_writeAgain.start(10);
    }
}

void MqttLink::housekeeping() {
    mosquitto_loop_misc(m_client);
    afterLibraryCall();
}

void MqttLink::afterLibraryCall() {
    // Until the broker has answered the library's own loop steps the connection; the socket is
    // watched only after.
    if (!m_connected) {
        if (m_reader)
            dropNotifiers();
        dispatch();
        return;
    }
    const int socket = m_client ? mosquitto_socket(m_client) : -1;
    if (socket != m_socket) {
        // The library closed the socket, or opened a new one: a notifier must never watch a
        // descriptor number the system may hand out again.
        dropNotifiers();
        if (socket >= 0)
            watchSocket();
        else if (!m_stopping && !m_refused && m_events.empty())
            failed(MOSQ_ERR_CONN_LOST);
    } else if (m_writer && !m_writeAgain.isActive()) {
        m_writer->setEnabled(mosquitto_want_write(m_client));
    }
    dispatch();
}
