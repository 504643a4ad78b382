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
    // An attempt brought a complete answer that held no frame: the meter talks, but garbles.
    bool garbled = false;
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

        if (attempt > kLastRetry) {
            if (garbled) {
                m_port.input();
                showPortLabel(kGarbledLabel);
                return Outcome::Garbled;
            }
            if (!NoDataRoutine())
                return Outcome::Stopped;
            m_port.input();
            return Outcome::NoData;
        }
        if (m_port.inBufferCount() < kLiveFrameSize) {
            ++attempt;
            continue;
        }
        const std::optional<LiveFrameBytes> frame = lastLiveFrame(m_port.input());
        if (!frame) {
            garbled = true;
            ++attempt;
            continue;
        }
        DecodeStatus(m_state, frame->status);
        DecodeDigits(m_state, frame->digitA, frame->digitB);
        m_state.NewReading = true;
        ++m_state.FrameCount;
        if (m_garbledShown)
            showPortLabel(portLabel(m_state));
        return Outcome::Decoded;
    }
}

void PollCycle::showPortLabel(const QString& text) {
    m_garbledShown = text == kGarbledLabel;
    if (setPortLabel)
        setPortLabel(text);
}

bool PollCycle::NoDataRoutine() {
    showPortLabel(QStringLiteral("No COM"));
    do {
        m_port.output(QByteArray(1, kLiveRequest));
        if (!m_clock.WaitSeconds(kPause))
            return false;
        // Another exchange took the line: it finds out for itself whether the meter answers.
        if (yielded && yielded())
            break;
    } while (m_port.inBufferCount() == 0);
    showPortLabel(portLabel(m_state));
    return true;
}
