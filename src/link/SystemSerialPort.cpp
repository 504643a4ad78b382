#include "link/SystemSerialPort.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

// The device's file grants this user reading and writing. (On Windows the port names are no
// files; there a refusal means the port is held.)
bool deviceAccessible(const QString& portName) {
    const QFileInfo file(portName);
    return !file.exists() || (file.isReadable() && file.isWritable());
}

} // namespace

SystemSerialPort::SystemSerialPort(const QString& device)
    : m_device(device) {
    m_port.setPortName(device);
}

bool SystemSerialPort::open(QString* error) {
    m_wanted = true;
    return configure(error);
}

bool SystemSerialPort::configure(QString* error) {
    const bool ok =
        m_port.open(QIODevice::ReadWrite) && m_port.setBaudRate(QSerialPort::Baud9600) &&
        m_port.setDataBits(QSerialPort::Data8) && m_port.setParity(QSerialPort::NoParity) &&
        m_port.setStopBits(QSerialPort::OneStop) &&
        m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (ok)
        return true;
    if (error) {
        switch (m_port.error()) {
        case QSerialPort::PermissionError:
            // Qt reports a device held by another program as a permission error too; only a
            // device the user may not open calls for the group.
            *error = deviceAccessible(m_device)
                         ? QCoreApplication::translate(
                               "SystemSerialPort",
                               "%1 is in use by another program: close that program and try "
                               "again.")
                               .arg(m_device)
                         : QCoreApplication::translate("SystemSerialPort",
                                                       "Permission denied on %1: add your user to "
                                                       "the \"dialout\" group and log in again.")
                               .arg(m_device);
            break;
        case QSerialPort::DeviceNotFoundError:
            *error = {};
            break;
        default:
            *error = m_port.errorString();
            break;
        }
    }
    m_port.close();
    return false;
}

void SystemSerialPort::close() {
    m_wanted = false;
    m_port.close();
}

void SystemSerialPort::reviveIfLost() {
    if (!m_wanted || (m_port.isOpen() && m_port.error() != QSerialPort::ResourceError))
        return;
    m_port.close();
    m_port.clearError();
    configure(nullptr);
}

void SystemSerialPort::output(const QByteArray& bytes) {
    reviveIfLost();
    if (!m_port.isOpen())
        return;
    m_port.write(bytes);
    // Hand the bytes to the driver now: the caller's timed pause starts after the write.
    m_port.flush();
}

int SystemSerialPort::inBufferCount() {
    return static_cast<int>(std::min<qint64>(m_port.bytesAvailable(), 32767));
}

void SystemSerialPort::discardInput() {
    if (!m_port.isOpen())
        return;
    m_port.clear(QSerialPort::Input);
    m_port.readAll();
}

QByteArray SystemSerialPort::input() {
    if (!m_port.isOpen())
        return {};
    return m_port.readAll();
}
