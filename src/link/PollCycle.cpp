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
    int attempt = 0;
    for (;;) {
        m_port.input();
        m_port.discardInput();
        const double t0 = m_clock.monotonic();
        do {
            m_port.output(QByteArray(1, kLiveRequest));
            if (!m_clock.WaitSeconds(kPause))
                return Outcome::Stopped;
            if (yielded && yielded())
                return Outcome::Yielded;
        } while (m_port.inBufferCount() < kLiveFrameSize && m_clock.monotonic() - t0 < kPause);

        if (m_port.inBufferCount() < kLiveFrameSize && attempt <= kLastRetry) {
            ++attempt;
            continue;
        }
        if (attempt > kLastRetry) {
            if (!NoDataRoutine())
                return Outcome::Stopped;
            m_port.input();
            return Outcome::NoData;
        }
        const QByteArray frame = m_port.input();
        attempt = 0;
        if (frame.size() < kLiveFrameSize || frame[0] != '\x02' || frame[4] != '\x03')
            continue;
        DecodeStatus(m_state, static_cast<quint8>(frame[1]));
        DecodeDigits(m_state, static_cast<quint8>(frame[2]), static_cast<quint8>(frame[3]));
        return Outcome::Decoded;
    }
}

bool PollCycle::NoDataRoutine() {
    if (setPortLabel)
        setPortLabel(QStringLiteral("No COM"));
    do {
        m_port.output(QByteArray(1, kLiveRequest));
        if (!m_clock.WaitSeconds(kPause))
            return false;
        // Another exchange took the line: it finds out for itself whether the meter answers.
        if (yielded && yielded())
            break;
    } while (m_port.inBufferCount() == 0);
    if (setPortLabel)
        setPortLabel(portLabel(m_state));
    return true;
}
