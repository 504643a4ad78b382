#pragma once

// A real Mosquitto broker and subscriber for the tests: the broker listens on 127.0.0.1 only, at
// a port that was free, with its configuration, store and log in a scratch folder.
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QThread>
#include <functional>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace mqtttest {

// Runs events until `done` holds or `ms` pass.
inline bool waitFor(const std::function<bool()>& done, int ms = 20000) {
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > ms)
            return false;
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
    return true;
}

// A port nothing listens on just now.
inline int freePort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    int port = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0)
        port = ntohs(address.sin_port);
    close(fd);
    return port;
}

inline bool accepts(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<quint16>(port));
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return ok;
}

inline QString program(const QString& name) {
    const QString found = QStandardPaths::findExecutable(name, {"/usr/sbin", "/usr/local/sbin"});
    return found.isEmpty() ? QStandardPaths::findExecutable(name) : found;
}

// Runs a tool to its end; its exit status, -1 when it did not run.
inline int run(const QString& name, const QStringList& arguments) {
    QProcess process;
    process.start(program(name), arguments);
    if (!process.waitForFinished(15000) || process.exitStatus() != QProcess::NormalExit)
        return -1;
    return process.exitCode();
}

class Broker {
public:
    // `lines` go into the listener's configuration (password_file, certfile, ...).
    Broker(const QString& folder, const QStringList& lines = {})
        : m_folder(folder)
        , m_port(freePort()) {
        // Kept as the user who runs the tests, so that it may read the scratch folder.
        const passwd* user = getpwuid(getuid());
        QStringList config = {QStringLiteral("listener %1 127.0.0.1").arg(m_port),
                              QStringLiteral("persistence true"),
                              QStringLiteral("persistence_location %1/").arg(folder),
                              QStringLiteral("log_dest file %1/broker.log").arg(folder),
                              QStringLiteral("user %1").arg(user ? user->pw_name : "root")};
        if (!lines.join(u'\n').contains(QStringLiteral("password_file")))
            config << QStringLiteral("allow_anonymous true");
        config << lines;
        {
            QFile file(folder + QStringLiteral("/broker.conf"));
            if (file.open(QIODevice::WriteOnly))
                file.write((config.join(u'\n') + u'\n').toUtf8());
        }
        m_started = start();
    }
    ~Broker() { stop(); }
    Broker(const Broker&) = delete;
    Broker& operator=(const Broker&) = delete;

    // True once it accepts connections.
    bool start() {
        m_process.setStandardErrorFile(QProcess::nullDevice());
        m_process.start(program(QStringLiteral("mosquitto")),
                        {QStringLiteral("-c"), m_folder + QStringLiteral("/broker.conf")});
        return m_process.waitForStarted(15000) && waitFor([this] { return accepts(m_port); });
    }
    // As a service manager stops it: its store is written on the way out.
    void stop() {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(15000)) {
            m_process.kill();
            m_process.waitForFinished(15000);
        }
    }
    int port() const { return m_port; }
    // It started with its configuration and accepted a connection.
    bool started() const { return m_started; }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }

private:
    QString m_folder;
    int m_port;
    bool m_started = false;
    QProcess m_process;
};

struct Message {
    double receivedAt = 0; // Unix time
    bool retained = false;
    QString topic;
    QByteArray payload;
};

// mosquitto_sub at QoS 1, each message on a line of its own with its time of receipt.
class Subscriber {
public:
    Subscriber(int port, const QStringList& topics, const QStringList& extra = {}) {
        QStringList arguments = {"-h", "127.0.0.1", "-p", QString::number(port),
                                 "-q", "1",         "-F", "%U %r %t %p"};
        for (const QString& topic : topics)
            arguments << QStringLiteral("-t") << topic;
        m_process.start(program(QStringLiteral("mosquitto_sub")), arguments + extra);
        m_process.waitForStarted(15000);
    }
    ~Subscriber() { stop(); }
    Subscriber(const Subscriber&) = delete;
    Subscriber& operator=(const Subscriber&) = delete;

    void stop() {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.kill();
        m_process.waitForFinished(15000);
    }
    bool finished(int ms = 20000) { return m_process.waitForFinished(ms); }

    // Every message so far.
    const std::vector<Message>& messages() {
        while (m_process.canReadLine()) {
            const QByteArray line = m_process.readLine().chopped(1);
            const QList<QByteArray> parts = line.split(' ');
            if (parts.size() < 3)
                continue;
            m_messages.push_back(
                {parts[0].toDouble(), parts[1] == "1", QString::fromUtf8(parts[2]),
                 line.mid(parts[0].size() + parts[1].size() + parts[2].size() + 3)});
        }
        return m_messages;
    }
    std::vector<Message> on(const QString& topic) {
        std::vector<Message> found;
        for (const Message& m : messages()) {
            if (m.topic == topic)
                found.push_back(m);
        }
        return found;
    }

private:
    QProcess m_process;
    std::vector<Message> m_messages;
};

// The retained messages under `topics`, as a subscriber arriving now gets them: `count` of
// them, or those that came within 5 s.
inline std::vector<Message> retained(int port, const QStringList& topics, int count,
                                     const QStringList& extra = {}) {
    Subscriber reader(port, topics,
                      QStringList{"--retained-only", "-C", QString::number(count), "-W", "5"} +
                          extra);
    reader.finished();
    return reader.messages();
}

} // namespace mqtttest
