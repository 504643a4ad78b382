#pragma once

#include "link/Clock.h"
#include "link/SerialPort.h"
#include "support/ScriptedPort.h"

#include <QStringList>
#include <vector>

// A port in front of another (the simulated meter) that records every write as hex text, with
// its time, so that tests of the tools check the bytes a whole simulated meter answered.
class TracingPort : public SerialPort {
public:
    TracingPort(SerialPort& inner, Clock& clock)
        : m_inner(inner)
        , m_clock(clock) {}

    bool open(QString* error) override { return m_inner.open(error); }
    bool isOpen() const override { return m_inner.isOpen(); }
    void close() override { m_inner.close(); }
    void output(const QByteArray& bytes) override {
        writes << hexText(bytes);
        times.push_back(m_clock.monotonic());
        m_inner.output(bytes);
    }
    int inBufferCount() override { return m_inner.inBufferCount(); }
    void discardInput() override { m_inner.discardInput(); }
    QByteArray input() override { return m_inner.input(); }

    QStringList writes;
    std::vector<double> times;

private:
    SerialPort& m_inner;
    Clock& m_clock;
};
