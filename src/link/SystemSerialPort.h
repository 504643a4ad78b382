#pragma once

#include "link/SerialPort.h"

#include <QSerialPort>

// A real serial device (or a pseudo-terminal) through QSerialPort.
class SystemSerialPort : public SerialPort {
public:
    explicit SystemSerialPort(const QString& device);

    bool open(QString* error) override;
    bool isOpen() const override { return m_port.isOpen(); }
    void close() override;
    void output(const QByteArray& bytes) override;
    int inBufferCount() override;
    void discardInput() override;
    QByteArray input() override;

private:
    bool configure(QString* error);
    // Opens the device again after it went away (a USB adapter pulled out, a simulator
    // restarted), so the "No COM" loop finds the meter as soon as it is back.
    void reviveIfLost();

    QString m_device;
    QSerialPort m_port;
    bool m_wanted = false;
};
