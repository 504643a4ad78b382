#pragma once

#include "common/PollPause.h"

#include <QRect>
#include <functional>

class Clock;
class Dialogs;
class Printer;
class SerialPort;
struct SharedState;

// What every window is handed: the shared state and the program's seams. The main window fills
// in the port once it has opened it, the poll's switch, and its own frame.
struct AppContext {
    AppContext(SharedState& state, Clock& clock, Dialogs& dialogs, Printer& printer)
        : state(state)
        , clock(clock)
        , dialogs(dialogs)
        , printer(printer) {}
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    SharedState& state;
    Clock& clock;
    Dialogs& dialogs;
    Printer& printer;
    SerialPort* port = nullptr;
    // Exchanges other than the live poll hold a PollPause on it while they run.
    PollGate poll;
    // The main window's frame on screen, for windows placed beside it.
    std::function<QRect()> panelFrame;
    // The main window's port label (LblCOM), restored after a download.
    std::function<void(const QString&)> setPortLabel;
};
