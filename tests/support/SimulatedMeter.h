#pragma once

#include "common/AppContext.h"
#include "common/SharedState.h"
#include "sim/engine/DemoPort.h"
#include "sim/engine/MeterEngine.h"
#include "support/ForwardingPort.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedPrinter.h"
#include "support/VirtualClock.h"

#include <QStringList>

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
    ForwardingPort port{demo};
    AppContext context{state, clock, dialogs, printer};
    QStringList poll;
};
