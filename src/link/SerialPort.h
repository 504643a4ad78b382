#pragma once

#include <QByteArray>
#include <QString>

// The operations the meter link needs from a serial port. The line is always
// 9600 baud, no parity, 8 data bits, 1 stop bit; the port is polled, never event-driven.
class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Opens the device; on failure `error` says why (empty when there is nothing to add).
    virtual bool open(QString* error) = 0;
    virtual bool isOpen() const = 0;
    virtual void close() = 0;

    // Output: sends the bytes as one write.
    virtual void output(const QByteArray& bytes) = 0;
    // InBufferCount: received bytes waiting.
    virtual int inBufferCount() = 0;
    // InBufferCount = 0: discards the bytes waiting.
    virtual void discardInput() = 0;
    // InputLen = 0, then Input: takes every byte waiting.
    virtual QByteArray input() = 0;
};
