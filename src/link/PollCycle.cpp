#include "link/PollCycle.h"

#include "common/SharedState.h"
#include "link/Clock.h"
#include "link/LiveFrame.h"
#include "link/SerialPort.h"

namespace {

constexpr double kPause = 0.2;
// Attempts 0..6 may come back short and are retried; the eighth gives up.
constexpr int kLastRetry = 6;

} // namespace

PollCycle::PollCycle(SharedState& state, SerialPort& port, Clock& clock)
    : m_state(state)
    , m_port(port)
    , m_clock(clock) {}

PollCycle::Outcome PollCycle::poll() {
    Step step = begin();
    while (!step.outcome) {
        if (!m_clock.WaitSeconds(step.wait)) {
            m_phase = Phase::Idle;
            return Outcome::Stopped;
        }
        if (yielded && yielded()) {
            abandon();
            return Outcome::Yielded;
        }
        step = resume();
    }
    return *step.outcome;
}

PollCycle::Step PollCycle::begin() {
    m_attempt = 0;
    m_garbled = false;
    return startAttempt();
}

PollCycle::Step PollCycle::startAttempt() {
    m_port.input();
    m_port.discardInput();
    m_attemptStart = m_clock.monotonic();
    return request(Phase::Attempt);
}

PollCycle::Step PollCycle::request(Phase phase) {
    m_phase = phase;
    m_port.output(QByteArray(1, kLiveRequest));
    return {std::nullopt, kPause};
}

PollCycle::Step PollCycle::finish(Outcome outcome) {
    m_phase = Phase::Idle;
    return {outcome, 0};
}

PollCycle::Step PollCycle::resume() {
    if (m_phase == Phase::NoData) {
        if (m_port.inBufferCount() == 0)
            return request(Phase::NoData);
        showPortLabel(portLabel(m_state));
        m_port.input();
        return finish(Outcome::NoData);
    }
    if (m_phase != Phase::Attempt)
        return finish(Outcome::Yielded);

    // A wait that ended early asks again within the same attempt.
    if (m_port.inBufferCount() < kLiveFrameSize && m_clock.monotonic() - m_attemptStart < kPause)
        return request(Phase::Attempt);

    if (m_attempt > kLastRetry) {
        if (m_garbled) {
            m_port.input();
            showPortLabel(kGarbledLabel);
            return finish(Outcome::Garbled);
        }
        showPortLabel(kNoComLabel);
        return request(Phase::NoData);
    }
    if (m_port.inBufferCount() < kLiveFrameSize) {
        ++m_attempt;
        return startAttempt();
    }
    const std::optional<LiveFrameBytes> frame = lastLiveFrame(m_port.input());
    if (!frame) {
        m_garbled = true;
        ++m_attempt;
        return startAttempt();
    }
    DecodeStatus(m_state, frame->status);
    DecodeDigits(m_state, frame->digitA, frame->digitB);
    m_state.NewReading = true;
    ++m_state.FrameCount;
    if (m_garbledShown)
        showPortLabel(portLabel(m_state));
    return finish(Outcome::Decoded);
}

void PollCycle::abandon() {
    // The exchange that took the line finds out for itself whether the meter answers.
    if (m_phase == Phase::NoData)
        showPortLabel(portLabel(m_state));
    m_phase = Phase::Idle;
}

void PollCycle::showPortLabel(const QString& text) {
    m_garbledShown = text == kGarbledLabel;
    if (setPortLabel)
        setPortLabel(text);
}
