#pragma once

#include "common/PauseGate.h"

#include <QObject>
#include <QTimer>

class Clock;
class SampleSinks;
struct SharedState;

// The sampling timer Timer2 without a window: it runs the sampling tick when the next sample is
// due by the monotonic clock (and at least every 960 ms), while the timers gate is not paused.
// The main window and luxlog-cli's recorder drive their samples with it.
class SamplingTimer : public QObject {
    Q_OBJECT
public:
    SamplingTimer(SharedState& state, Clock& clock, PauseGate& timersGate, SampleSinks& sinks);

    QTimer& timer() { return m_timer; }
    // Ticks from now on; stop() for good (the program closes).
    void start();
    void stop();

    // Timer2's tick: the sampling tick, then the timer armed for the next sample.
    void Timer2_Timer();

private:
    void arm();

    SharedState& m_state;
    Clock& m_clock;
    PauseGate& m_timersGate;
    SampleSinks& m_sinks;
    QTimer m_timer;
    bool m_running = false;
    bool m_inTick = false;
    ScopedSwitch m_timersSwitch;
};
