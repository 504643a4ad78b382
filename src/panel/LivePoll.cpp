#include "panel/LivePoll.h"

#include "link/Clock.h"
#include "link/PollCycle.h"

LivePoll::LivePoll(SharedState& state, Clock& clock, PauseGate& pollGate, PauseGate& timersGate)
    : m_state(state)
    , m_clock(clock)
    , m_pollGate(pollGate)
    , m_timersGate(timersGate)
    , m_pollSwitch(pollGate, [this](bool) { switchTimer(); })
    , m_timersSwitch(timersGate, [this](bool) { switchTimer(); }) {
    m_timer.setObjectName(QStringLiteral("Timer1"));
    m_timer.setInterval(kIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &LivePoll::Timer1_Timer);
}

LivePoll::~LivePoll() = default;

void LivePoll::start(SerialPort& port) {
    m_cycle = std::make_unique<PollCycle>(m_state, port, m_clock);
    m_cycle->setPortLabel = [this](const QString& text) {
        if (setPortLabel)
            setPortLabel(text);
    };
    switchTimer();
}

void LivePoll::stop() {
    m_stopped = true;
    switchTimer();
}

void LivePoll::switchTimer() {
    const bool run = m_cycle && !m_stopped && !m_pollGate.paused() && !m_timersGate.paused();
    if (run) {
        m_timer.start();
        return;
    }
    m_timer.stop();
    ++m_generation;
    if (m_ticking) {
        m_ticking = false;
        m_missed = false;
        if (m_cycle)
            m_cycle->abandon();
    }
}

void LivePoll::Timer1_Timer() {
    if (m_ticking) {
        m_missed = true;
        return;
    }
    // A handed-over tick may arrive after an exchange switched the poll off.
    if (!m_cycle || !m_timer.isActive())
        return;
    m_ticking = true;
    m_missed = false;
    m_tickStarted = m_clock.monotonic();
    runStep(m_generation, true);
}

void LivePoll::runStep(quint64 generation, bool first) {
    const PollCycle::Step step = first ? m_cycle->begin() : m_cycle->resume();
    if (step.outcome) {
        tickEnded(*step.outcome == PollCycle::Outcome::Decoded);
        return;
    }
    m_clock.after(step.wait, this, [this, generation] {
        if (generation == m_generation && m_ticking)
            runStep(generation, false);
    });
}

void LivePoll::tickEnded(bool decoded) {
    m_ticking = false;
    if (decoded && onDecoded)
        onDecoded();
    // The timer's ticks came due while this one ran: one of them is handed over at once.
    if (m_clock.monotonic() - m_tickStarted >= m_timer.interval() / 1000.0)
        m_missed = true;
    if (m_missed && m_timer.isActive())
        QMetaObject::invokeMethod(this, &LivePoll::Timer1_Timer, Qt::QueuedConnection);
    m_missed = false;
}
