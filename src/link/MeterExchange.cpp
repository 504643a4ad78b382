#include "link/MeterExchange.h"

#include "link/Clock.h"
#include "link/LiveFrame.h"
#include "link/LoggerReplies.h"
#include "link/SerialPort.h"

namespace {

QByteArray bytes(char c) {
    return QByteArray(1, c);
}

quint8 bcd(int twoDigits) {
    return static_cast<quint8>((twoDigits / 10 % 10) << 4 | twoDigits % 10);
}

} // namespace

MeterExchange::MeterExchange(SerialPort& port, Clock& clock, CancelPredicate cancelled)
    : m_port(port)
    , m_clock(clock)
    , m_cancelled(std::move(cancelled)) {}

bool MeterExchange::cancelled() const {
    return m_cancelled && m_cancelled();
}

bool MeterExchange::pause() {
    return m_clock.WaitSeconds(kPause) && !cancelled();
}

bool MeterExchange::expired(double giveUpAt) const {
    // Waits add up in steps of 0.2 s; the tolerance keeps the 25th pass from missing 5.0 s.
    return m_clock.monotonic() >= giveUpAt - 1e-6;
}

void MeterExchange::FlushInput() {
    m_port.input();
}

void MeterExchange::RequestReading() {
    m_port.output(bytes(kLiveRequest));
}

LinkStatus MeterExchange::WakeMeter() {
    return wake(m_clock.monotonic() + kGiveUpSeconds);
}

LinkStatus MeterExchange::wake(double giveUpAt) {
    for (;;) {
        RequestReading();
        if (!pause())
            return LinkStatus::Cancelled;
        const int waiting = m_port.inBufferCount();
        if (waiting == kLiveFrameSize)
            return LinkStatus::Ok;
        // A late frame followed by the next one: exactly five can no longer come.
        if (waiting > kLiveFrameSize)
            FlushInput();
        if (expired(giveUpAt))
            return LinkStatus::NoReply;
    }
}

LinkStatus MeterExchange::SendCommand(const QByteArray& command) {
    RequestReading();
    if (!pause())
        return LinkStatus::Cancelled;
    m_port.output(command);
    return pause() ? LinkStatus::Ok : LinkStatus::Cancelled;
}

LinkResult<QByteArray> MeterExchange::readFixed(char command, int size) {
    const double giveUpAt = m_clock.monotonic() + kGiveUpSeconds;
    for (;;) {
        FlushInput();
        if (const LinkStatus s = wake(giveUpAt); s != LinkStatus::Ok)
            return {s, {}};
        if (!pause())
            return {LinkStatus::Cancelled, {}};
        FlushInput();
        if (const LinkStatus s = SendCommand(bytes(command)); s != LinkStatus::Ok)
            return {s, {}};
        QByteArray reply = m_port.input();
        if (reply.size() == size)
            return {LinkStatus::Ok, reply};
        if (expired(giveUpAt))
            return {LinkStatus::NoReply, {}};
    }
}

LinkResult<QByteArray> MeterExchange::ReadSettings() {
    return readFixed('Y', kSettingsReplySize);
}

LinkResult<QByteArray> MeterExchange::ReadClock() {
    return readFixed('C', kClockReplySize);
}

LinkResult<QByteArray> MeterExchange::collect(int expected, const Progress& progress,
                                              const std::function<LinkStatus()>& resendWhileEmpty) {
    LinkResult<QByteArray> result;
    double lastByteAt = m_clock.monotonic();
    for (;;) {
        const QByteArray piece = m_port.input();
        if (!piece.isEmpty()) {
            lastByteAt = m_clock.monotonic();
            // Bytes beyond the expected count are never used; a meter sending garbage cannot
            // make the reply grow.
            result.reply += piece.left(expected - result.reply.size());
        }
        if (result.reply.isEmpty() && resendWhileEmpty) {
            if (expired(lastByteAt + kGiveUpSeconds))
                return result;
            if (const LinkStatus s = resendWhileEmpty(); s != LinkStatus::Ok) {
                result.status = s;
                return result;
            }
            continue;
        }
        const bool running = piece.isEmpty() ? m_clock.idle() : m_clock.processEvents();
        if (!running || cancelled()) {
            result.status = LinkStatus::Cancelled;
            return result;
        }
        const qsizetype got = result.reply.size();
        if (progress)
            progress(100.0 * static_cast<double>(got) / expected);
        if (got == expected) {
            result.status = LinkStatus::Ok;
            return result;
        }
        if (expired(lastByteAt + kGiveUpSeconds))
            return result;
    }
}

LinkResult<QByteArray> MeterExchange::ReadSetIndex(int setCount, const Progress& progress) {
    const auto send = [this] {
        FlushInput();
        return SendCommand(bytes('I'));
    };
    if (const LinkStatus s = send(); s != LinkStatus::Ok)
        return {s, {}};
    return collect(setIndexSize(setCount), progress, send);
}

LinkResult<QByteArray> MeterExchange::ReadSet(quint8 setNumber, int sampleCount,
                                              const Progress& progress) {
    FlushInput();
    if (const LinkStatus s = WakeMeter(); s != LinkStatus::Ok)
        return {s, {}};
    if (!pause())
        return {LinkStatus::Cancelled, {}};
    FlushInput();
    if (const LinkStatus s = SendCommand(bytes('K')); s != LinkStatus::Ok)
        return {s, {}};
    m_port.output(QByteArray(1, static_cast<char>(setNumber)));
    if (!pause())
        return {LinkStatus::Cancelled, {}};
    return collect(setDumpSize(sampleCount), progress, {});
}

LinkStatus MeterExchange::EraseMemory() {
    const double giveUpAt = m_clock.monotonic() + kGiveUpSeconds;
    for (;;) {
        FlushInput();
        RequestReading();
        if (!pause())
            return LinkStatus::Cancelled;
        if (m_port.input().size() >= kLiveFrameSize)
            break;
        if (expired(giveUpAt))
            return LinkStatus::NoReply;
    }
    for (int i = 0; i < 3; ++i) {
        m_port.output(bytes('E'));
        if (!pause())
            return LinkStatus::Cancelled;
    }
    return LinkStatus::Ok;
}

LinkStatus MeterExchange::WriteByte(quint8 address, quint8 data) {
    RequestReading();
    if (!pause())
        return LinkStatus::Cancelled;
    const char write[] = {'W', 0, static_cast<char>(address), static_cast<char>(data)};
    m_port.output(QByteArray(write, sizeof write));
    return pause() ? LinkStatus::Ok : LinkStatus::Cancelled;
}

LinkStatus MeterExchange::WriteSettingWord(quint8 lowAddress, quint8 highAddress, qint64 value) {
    if (value < 0 || value > 65535)
        return LinkStatus::OutOfRange;
    if (const LinkStatus s = WriteByte(lowAddress, static_cast<quint8>(value % 256));
        s != LinkStatus::Ok)
        return s;
    return WriteByte(highAddress, static_cast<quint8>(value / 256));
}

LinkStatus MeterExchange::SetClock(const QDateTime& time) {
    const QDate d = time.date();
    const QTime t = time.time();
    const char fields[] = {
        static_cast<char>(bcd(d.year() % 100)), static_cast<char>(bcd(d.month())),
        static_cast<char>(bcd(d.day())),        static_cast<char>(bcd(t.hour())),
        static_cast<char>(bcd(t.minute())),     static_cast<char>(bcd(t.second())),
    };
    FlushInput();
    if (const LinkStatus s = WakeMeter(); s != LinkStatus::Ok)
        return s;
    if (!pause())
        return LinkStatus::Cancelled;
    if (const LinkStatus s = SendCommand(bytes('D')); s != LinkStatus::Ok)
        return s;
    m_port.output(QByteArray(fields, sizeof fields));
    return LinkStatus::Ok;
}

LinkStatus MeterExchange::ToggleUnit() {
    FlushInput();
    if (const LinkStatus s = WakeMeter(); s != LinkStatus::Ok)
        return s;
    if (!pause())
        return LinkStatus::Cancelled;
    FlushInput();
    RequestReading();
    if (!pause())
        return LinkStatus::Cancelled;
    m_port.output(QByteArrayLiteral("F\x08"));
    return LinkStatus::Ok;
}
