#pragma once

#include "link/SerialPort.h"

class Clock;
class MeterEngine;

// The "Demo" port: the simulated meter inside the program, on the given clock's time line.
class DemoPort : public SerialPort {
public:
    DemoPort(MeterEngine& engine, Clock& clock);

    bool open(QString* error) override;
    bool isOpen() const override { return m_open; }
    void close() override { m_open = false; }
    void output(const QByteArray& bytes) override;
    int inBufferCount() override;
    void discardInput() override;
    QByteArray input() override;

private:
    MeterEngine& m_engine;
    Clock& m_clock;
    bool m_open = false;
};
