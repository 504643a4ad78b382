#pragma once

#include "common/PauseGate.h"

#include <QRect>
#include <functional>

class Clock;
class Dialogs;
class Printer;
class SerialPort;
class Settings;
struct SharedState;

// What every window is handed: the shared state and the program's seams. The main window fills
// in the port once it has opened it, and its own frame; the windows with timers register them
// with the gates.
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
    // What the program remembers between runs; null where nothing is kept (tests, luxlog-cli).
    Settings* settings = nullptr;
    // The main window's live poll: exchanges other than the poll hold it paused while they run.
    PauseGate poll;
    // The timers that read the live reading (poll, sampling, candela): held off while a long
    // plot runs.
    PauseGate timers;
    // The main window's frame on screen, for windows placed beside it.
    std::function<QRect()> panelFrame;
    // The interval of the main window's poll timer in milliseconds, which the timers that follow
    // the live reading take when their windows open.
    std::function<int()> pollInterval;
    // The main window's port label (LblCOM), restored after a download.
    std::function<void(const QString&)> setPortLabel;
};

// Sets one of the context's hooks (or its port) for its lifetime and clears it again, as
// ScopedPause holds a pause: the window that provides it cannot leave it dangling.
template <typename T> class ScopedHook {
public:
    ScopedHook(T& slot, T value)
        : m_slot(slot) {
        m_slot = std::move(value);
    }
    ~ScopedHook() { m_slot = T{}; }
    ScopedHook(const ScopedHook&) = delete;
    ScopedHook& operator=(const ScopedHook&) = delete;

private:
    T& m_slot;
};
