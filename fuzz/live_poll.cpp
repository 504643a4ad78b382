// The live frame and the poll: arbitrary bytes for the frame search, and a meter that answers
// each request with whole frames at arbitrary times for a real poll on virtual time.
//
// Input: a script, one answer per request " ". Each answer starts with a control byte c:
// c & 3 is 0 (silence), 1 (a frame), 2 (garbage, then a frame) or 3 (garbage only); c >> 2 is
// the delay of the frame in 10 ms steps (up to 0.63 s, so answers may come in late). A frame
// takes three bytes (status, A, B); garbage takes a length byte (& 7) and that many bytes, any
// 0x02 among them turned into 0x03, and arrives at half the frame's delay. The run ends when
// the script does.

#include "FuzzCheck.h"
#include "common/SharedState.h"
#include "link/LiveFrame.h"
#include "link/PollCycle.h"
#include "support/ScriptedPort.h"
#include "support/VirtualClock.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// What a decoded frame leaves in the shared state.
struct Reading {
    bool batLow, maxOn, holdOn, memFull, meterRec, leadOne;
    qint16 unitFlag;
    QString unit;
    std::optional<qint16> range;
    Value value;
    friend bool operator==(const Reading&, const Reading&) = default;
};

Reading readingOf(const SharedState& s) {
    return {s.BatLow,  s.MaxOn,    s.HoldOn, s.MemFull, s.MeterRec,
            s.LeadOne, s.UnitFlag, s.Unit,   s.Range,   s.Value};
}

Reading decoded(quint8 status, quint8 a, quint8 b) {
    SharedState s;
    DecodeStatus(s, status);
    DecodeDigits(s, a, b);
    return readingOf(s);
}

// Whatever the digit bytes, a reading compared with the alarm limits is one the meter's display
// can show: garbled digits must never pass as a large number.
void checkComparable(const Reading& r) {
    FUZZ_CHECK(!r.value.isEmpty());
    if (const std::optional<double> v = r.value.comparable())
        FUZZ_CHECK(*v >= 0 && *v <= 19990);
}

void checkFrameSearch(QByteArrayView bytes) {
    const std::optional<LiveFrameBytes> frame = lastLiveFrame(bytes);
    auto isGroup = [&](qsizetype at) {
        return at >= 0 && at + kLiveFrameSize <= bytes.size() && bytes[at] == '\x02' &&
               bytes[at + 4] == '\x03';
    };
    if (frame) {
        bool found = false;
        for (qsizetype at = 0; at + kLiveFrameSize <= bytes.size() && !found; ++at) {
            found = isGroup(at) && static_cast<quint8>(bytes[at + 1]) == frame->status &&
                    static_cast<quint8>(bytes[at + 2]) == frame->digitA &&
                    static_cast<quint8>(bytes[at + 3]) == frame->digitB;
        }
        FUZZ_CHECK(found);
        checkComparable(decoded(frame->status, frame->digitA, frame->digitB));
    }
    // A frame that arrived last and whole, overlapping no other group, is always found.
    const qsizetype last = bytes.size() - kLiveFrameSize;
    bool alone = isGroup(last);
    for (qsizetype at = last - kLiveFrameSize + 1; alone && at < last; ++at)
        alone = !isGroup(at);
    if (alone)
        FUZZ_CHECK(frame && frame->status == static_cast<quint8>(bytes[last + 1]) &&
                   frame->digitA == static_cast<quint8>(bytes[last + 2]) &&
                   frame->digitB == static_cast<quint8>(bytes[last + 3]));
}

class ScriptedMeter {
public:
    ScriptedMeter(QByteArrayView script, ScriptedPort& port, VirtualClock& clock)
        : m_script(script)
        , m_port(port)
        , m_clock(clock) {}

    void answer() {
        if (m_at >= m_script.size()) {
            m_clock.requestStop();
            return;
        }
        const quint8 control = next();
        const int kind = control & 3;
        const double delay = (control >> 2) * 0.01;
        if (kind == 2 || kind == 3) {
            QByteArray garbage;
            for (int n = next() & 7; n > 0; --n) {
                const quint8 b = next();
                garbage += static_cast<char>(b == 0x02 ? 0x03 : b);
            }
            m_port.deliver(garbage, delay / 2);
            log(garbage, delay / 2);
        }
        if (kind == 1 || kind == 2) {
            const quint8 status = next(), a = next(), b = next();
            m_sent.push_back(decoded(status, a, b));
            const QByteArray frame =
                QByteArray("\x02", 1) + char(status) + char(a) + char(b) + '\x03';
            m_port.deliver(frame, delay);
            log(frame, delay);
        }
    }

    bool sent(const Reading& r) const {
        return std::find(m_sent.begin(), m_sent.end(), r) != m_sent.end();
    }

    // Requests, answers and reads in order, for the report of a failed property.
    QStringList* trace = nullptr;

private:
    void log(const QByteArray& bytes, double delay) {
        if (trace)
            *trace << QStringLiteral("%1: %2 due at %3")
                          .arg(m_clock.monotonic() - 1000, 0, 'f', 3)
                          .arg(hexText(bytes))
                          .arg(m_clock.monotonic() - 1000 + delay, 0, 'f', 3);
    }
    quint8 next() { return m_at < m_script.size() ? static_cast<quint8>(m_script[m_at++]) : 0; }

    QByteArrayView m_script;
    qsizetype m_at = 0;
    ScriptedPort& m_port;
    VirtualClock& m_clock;
    std::vector<Reading> m_sent;
};

// Whether every decoded reading is one the meter sent; `trace` collects what happened.
bool runPoll(QByteArrayView script, QStringList* trace = nullptr) {
    VirtualClock clock;
    ScriptedPort port(clock);
    port.open(nullptr);
    SharedState state;
    PollCycle poll(state, port, clock);
    ScriptedMeter meter(script, port, clock);
    meter.trace = port.trace = clock.trace = trace;
    port.onOutput = [&](const QByteArray& written) {
        if (written == QByteArray(1, kLiveRequest))
            meter.answer();
    };
    // However the script goes, virtual time is bounded: the "No COM" loop ends here at the
    // latest.
    const double deadline = clock.monotonic() + 600;
    clock.duringWait = [&] {
        if (clock.monotonic() > deadline)
            clock.requestStop();
    };

    while (!clock.stopping()) {
        const Reading before = readingOf(state);
        state.NewReading = false;
        const PollCycle::Outcome outcome = poll.poll();
        if (outcome == PollCycle::Outcome::Decoded) {
            FUZZ_CHECK(state.NewReading);
            if (!meter.sent(readingOf(state)))
                return false;
        } else {
            FUZZ_CHECK(!state.NewReading);
            FUZZ_CHECK(readingOf(state) == before);
        }
        FUZZ_CHECK(clock.monotonic() <= deadline + 1);
        // The poll timer's interval before the next tick.
        clock.advance(0.05);
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    checkFrameSearch(bytes);
    if (!runPoll(bytes)) {
        QStringList trace;
        runPoll(bytes, &trace);
        std::fprintf(stderr, "%s\n", qPrintable(trace.join(u'\n')));
        FUZZ_CHECK(!"a decoded reading is one the meter sent");
    }
    return 0;
}
