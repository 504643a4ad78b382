#pragma once

#include "common/AppContext.h"
#include "common/SharedState.h"
#include "link/RealClock.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedPrinter.h"
#include "support/VirtualClock.h"

// The program's state and its seams on virtual time, as most window tests need them.
struct TestContext {
    SharedState state;
    VirtualClock clock;
    ScriptedDialogs dialogs;
    ScriptedPrinter printer;
    AppContext context{state, clock, dialogs, printer};
};

// The same on real time, for the runs against metersim.
struct RealTimeContext {
    SharedState state;
    RealClock clock;
    ScriptedDialogs dialogs;
    ScriptedPrinter printer;
    AppContext context{state, clock, dialogs, printer};
};
