#pragma once

#include "common/PauseGate.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

class Clock;
class PollCycle;
class SerialPort;
struct SharedState;

// The main window's live poll without the window: the poll timer Timer1 and the poll tick, run
// as steps on the event loop rather than inside nested waits. Whatever opens meanwhile (a
// prompt, a message box, a file dialog) finds no suspended poll beneath it, so the poll and the
// sampling tick go on while it is open. The timer runs while neither gate is paused; pausing
// the poll gate ends a tick in progress at once, so the exchange that paused it has the line to
// itself.
class LivePoll : public QObject {
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 50;

    LivePoll(SharedState& state, Clock& clock, PauseGate& pollGate, PauseGate& timersGate);
    ~LivePoll() override;

    // Polls `port` from now on (the port outlives the poll's use of it; stop() lets go).
    void start(SerialPort& port);
    // The program closes: no more ticks.
    void stop();

    QTimer& timer() { return m_timer; }
    // A tick is under way (between its request and its outcome).
    bool ticking() const { return m_ticking; }

    // Timer1's tick. A tick that comes while one is under way is handed over once when that one
    // ends, so polls follow each other without a gap.
    void Timer1_Timer();

    // A frame was decoded: the display update follows.
    std::function<void()> onDecoded;
    // The port label the poll shows ("No COM", "Bad data", or the port's own).
    std::function<void(const QString&)> setPortLabel;

private:
    void switchTimer();
    void runStep(quint64 generation, bool first);
    void tickEnded(bool decoded);

    SharedState& m_state;
    Clock& m_clock;
    PauseGate& m_pollGate;
    PauseGate& m_timersGate;
    std::unique_ptr<PollCycle> m_cycle;
    QTimer m_timer;
    ScopedSwitch m_pollSwitch;
    ScopedSwitch m_timersSwitch;
    bool m_stopped = false;
    bool m_ticking = false;
    bool m_missed = false;
    double m_tickStarted = 0;
    // Moves on whenever the poll is switched off: a step of an older tick then does nothing.
    quint64 m_generation = 0;
};
