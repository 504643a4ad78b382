#pragma once

#include "common/AppContext.h"
#include "common/SharedState.h"
#include "link/SerialPort.h"
#include "sim/engine/DemoPort.h"
#include "sim/engine/MeterEngine.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedPort.h"
#include "support/ScriptedPrinter.h"
#include "support/VirtualClock.h"

#include <QStringList>

// A port in front of another (the simulated meter) that records every write as hex text, so
// that tests check the bytes a whole simulated meter answered.
class TracingPort : public SerialPort {
public:
    explicit TracingPort(SerialPort& inner)
        : m_inner(inner) {}

    bool open(QString* error) override { return m_inner.open(error); }
    bool isOpen() const override { return m_inner.isOpen(); }
    void close() override { m_inner.close(); }
    void output(const QByteArray& bytes) override {
        writes << hexText(bytes);
        m_inner.output(bytes);
    }
    int inBufferCount() override { return m_inner.inBufferCount(); }
    void discardInput() override { m_inner.discardInput(); }
    QByteArray input() override { return m_inner.input(); }

    QStringList writes;

private:
    SerialPort& m_inner;
};

// The program's state and seams on virtual time, over the simulated meter reading 300 lux
// steadily; `poll` logs the live poll's switching ("off", "on").
struct SimulatedMeter {
    SimulatedMeter() {
        state.loadPanel(clock.wallNow());
        state.Unit = "LUX";
        engine.setDrift(false);
        port.open(nullptr);
        context.port = &port;
        context.poll.addSwitch(this, [this](bool on) { poll << (on ? "on" : "off"); });
    }
    int count(const char* hex) const { return static_cast<int>(port.writes.count(hex)); }

    VirtualClock clock;
    SharedState state;
    ScriptedDialogs dialogs;
    ScriptedPrinter printer;
    MeterEngine engine;
    DemoPort demo{engine, clock};
    TracingPort port{demo};
    AppContext context{state, clock, dialogs, printer};
    QStringList poll;
};
