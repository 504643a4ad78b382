#pragma once

#include "common/AppContext.h"
#include "common/SharedState.h"
#include "link/RealClock.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedPrinter.h"

// The program's state and seams as the benchmarks run it: the real clock, no dialogs shown.
struct BenchProgram {
    explicit BenchProgram(const QString& device = {}) { state.ComDevice = device; }

    SharedState state;
    RealClock clock;
    ScriptedDialogs dialogs;
    ScriptedPrinter printer;
    AppContext context{state, clock, dialogs, printer};
};
