#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QStringList>

// metersim as a test's child process: started with its arguments, its device path taken from
// the first line it prints, killed with its owner.
class MeterSim {
public:
    explicit MeterSim(const QStringList& arguments = {}) {
        m_process.start(QStringLiteral(METERSIM_PATH), arguments);
        if (m_process.waitForStarted(15000))
            m_device = QString::fromLocal8Bit(nextLine());
    }
    ~MeterSim() { kill(); }
    MeterSim(const MeterSim&) = delete;
    MeterSim& operator=(const MeterSim&) = delete;

    // The pseudo-terminal's path; empty when metersim did not start.
    const QString& device() const { return m_device; }

    // A line to metersim --control ("silent on", "lux 302", ...).
    void control(const char* line) {
        m_process.write(QByteArray(line) + '\n');
        m_process.waitForBytesWritten(15000);
    }

    // The next line metersim prints, without its end; empty after 15 s without one.
    QByteArray nextLine() {
        QElapsedTimer waited;
        waited.start();
        while (!m_process.canReadLine() && waited.elapsed() < 15000)
            m_process.waitForReadyRead(100);
        return m_process.readLine().trimmed();
    }

    void kill() {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.kill();
        m_process.waitForFinished(15000);
    }

    QProcess& process() { return m_process; }

private:
    QProcess m_process;
    QString m_device;
};
