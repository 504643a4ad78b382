#include "panel/SamplingTimer.h"

#include "link/Clock.h"
#include "panel/SamplingTick.h"

#include <QScopedValueRollback>

SamplingTimer::SamplingTimer(SharedState& state, Clock& clock, PauseGate& timersGate,
                             SampleSinks& sinks)
    : m_state(state)
    , m_clock(clock)
    , m_timersGate(timersGate)
    , m_sinks(sinks)
    , m_timersSwitch(timersGate, [this](bool) { arm(); }) {
    m_timer.setObjectName(QStringLiteral("Timer2"));
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(kSamplingTickMs);
    connect(&m_timer, &QTimer::timeout, this, &SamplingTimer::Timer2_Timer);
}

void SamplingTimer::start() {
    m_running = true;
    arm();
}

void SamplingTimer::stop() {
    m_running = false;
    m_timer.stop();
}

void SamplingTimer::arm() {
    if (m_running && !m_timersGate.paused())
        m_timer.start(samplingTickDelayMs(m_state, m_clock.monotonic()));
    else
        m_timer.stop();
}

void SamplingTimer::Timer2_Timer() {
    // Nothing in the tick waits, but a sink might one day: a tick never runs inside another.
    if (m_inTick)
        return;
    {
        QScopedValueRollback guard(m_inTick, true);
        samplingTick(m_state, m_sinks, m_clock.monotonic());
    }
    arm();
}
