#include "sim/engine/MeterEngine.h"

#include <QTimeZone>
#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

// The meter's serial interface dozes off after this long without a received byte.
constexpr double kIdleSleep = 0.3;
// Times within this of a boundary count as past it, so that 0.2 + 0.1 on a floating-point
// clock still reaches 0.3.
constexpr double kTimeSlack = 1e-6;
constexpr double kArrivalSlack = 1e-9;
// Unpaced replies arrive whole after this; paced ones start going out after the turnaround.
constexpr double kUnpacedDelay = 0.006;
constexpr double kTurnaround = 0.002;
// The drift advances in fixed steps of the engine's time, so a seed gives the same readings
// however often the reading is asked for; a long silence only replays the last few minutes.
constexpr double kWalkStep = 0.1;
constexpr double kWalkHorizon = 600.0;
constexpr double kLuxPerFc = 10.7639;
constexpr int kMaxSets = 255;
constexpr int kMaxSamples = 65535;

constexpr quint8 kStart = 0x02;
constexpr quint8 kEnd = 0x03;

int fullScaleOf(int rangeIndex) {
    static constexpr int kFullScale[] = {20, 200, 2000, 20000};
    return kFullScale[rangeIndex & 3];
}

quint8 toBcd(int value) {
    return static_cast<quint8>(((value / 10) % 10) << 4 | value % 10);
}

std::optional<int> fromBcd(quint8 byte) {
    if ((byte >> 4) > 9 || (byte & 0xF) > 9)
        return std::nullopt;
    return (byte >> 4) * 10 + (byte & 0xF);
}

// Bytes a command takes, known from its first byte.
int commandLength(quint8 first) {
    switch (first) {
    case 'K':
    case 'F':
        return 2;
    case 'W':
        return 4;
    case 'D':
        return 7;
    default:
        return 1;
    }
}

void appendWord(QByteArray& bytes, int value) {
    bytes.append(static_cast<char>(value & 0xFF));
    bytes.append(static_cast<char>((value >> 8) & 0xFF));
}

// Logged readings: a slow swell over the set with a seeded jitter on top, in the set's unit.
QByteArray syntheticSamples(int count, int rangeIndex, double level, quint32 seed,
                            int batteryLowFrom = -1) {
    QRandomGenerator random(seed);
    QByteArray samples;
    samples.reserve(qsizetype{2} * count);
    double jitter = 0.0;
    for (int k = 0; k < count; ++k) {
        jitter = 0.97 * jitter + 0.02 * (random.generateDouble() - 0.5);
        const double swell = 1.0 + 0.35 * std::sin(6.283185307 * k / std::max(count, 1));
        const auto digits = MeterEngine::encodeDigits(level * swell * (1.0 + jitter), rangeIndex);
        const bool batteryLow = batteryLowFrom >= 0 && k >= batteryLowFrom;
        samples.append(static_cast<char>(digits[1]));
        samples.append(
            static_cast<char>(digits[0] == 0xFF ? 0xFF : digits[0] | (batteryLow ? 0x40 : 0)));
    }
    return samples;
}

MeterEngine::LoggedSet makeSet(std::array<quint8, 6> start, quint8 code, quint16 interval,
                               QByteArray samples) {
    MeterEngine::LoggedSet set;
    set.start = start;
    set.rangeUnitCode = code;
    set.interval = interval;
    set.samples = std::move(samples);
    return set;
}

} // namespace

qsizetype MeterEngine::Burst::arrivedBy(double t) const {
    if (t + kArrivalSlack < first)
        return 0;
    if (spacing <= 0.0)
        return bytes.size();
    const auto n = static_cast<qsizetype>(std::floor((t + kArrivalSlack - first) / spacing)) + 1;
    return std::min(n, bytes.size());
}

MeterEngine::MeterEngine(quint32 seed)
    : m_random(seed)
    , m_seed(seed)
    , m_clockBase(QDate(2024, 1, 1), QTime(0, 0, 0), QTimeZone::utc()) {}

MeterEngine MeterEngine::demo(quint32 seed) {
    MeterEngine meter(seed);
    meter.setRange(2000);
    meter.setIlluminance(320.0);
    meter.setIdCode(1234);
    meter.setInterval(60);
    // A desk lamp checked for a few seconds, an evening room in Fc, a working day outdoors.
    meter.addSet(makeSet({0x24, 0x05, 0x08, 0x09, 0x30, 0x00}, 0x04, 2,
                         syntheticSamples(20, 2, 450.0, seed + 1)));
    meter.addSet(makeSet({0x24, 0x05, 0x09, 0x18, 0x00, 0x00}, 0x03, 60,
                         syntheticSamples(500, 1, 45.0, seed + 2)));
    meter.addSet(makeSet({0x24, 0x05, 0x12, 0x06, 0x15, 0x30}, 0x06, 10,
                         syntheticSamples(3000, 3, 9000.0, seed + 3, 2900)));
    return meter;
}

// ---- The line.

void MeterEngine::receive(const QByteArray& bytes, double t) {
    if (m_unplugged)
        return;
    anchor(t);
    for (const char byte : bytes)
        handleByte(static_cast<quint8>(byte), t);
}

bool MeterEngine::awake(double t) const {
    return t + kTimeSlack < m_sleepAt;
}

void MeterEngine::handleByte(quint8 byte, double t) {
    // While a logger reply goes out the meter does not listen.
    if (t < m_busyUntil)
        return;
    if (!awake(t)) {
        // The byte only wakes the interface; whatever half command it held is gone.
        m_command.clear();
        m_sleepAt = t + kIdleSleep;
        return;
    }
    m_sleepAt = t + kIdleSleep;
    m_command.append(static_cast<char>(byte));
    if (m_command.size() >= commandLength(static_cast<quint8>(m_command[0])))
        runCommand(t);
}

void MeterEngine::runCommand(double t) {
    const QByteArray command = std::exchange(m_command, {});
    const auto at = [&](int i) { return static_cast<quint8>(command[i]); };
    switch (at(0)) {
    case ' ': {
        QByteArray frame = liveFrame(t);
        if (m_shortFrames)
            frame.truncate(3);
        if (m_badFraming)
            frame[0] = 0x00;
        frame.append(m_trailing, '\0');
        if (const int late = std::min<int>(std::exchange(m_lateTail, 0), frame.size() - 1);
            late > 0) {
            if (const std::optional<double> headEnd = send(frame.left(frame.size() - late), t)) {
                const double first = *headEnd + m_lateTailDelay;
                m_out.push_back(Burst{first, m_paced ? kByteSeconds : 0.0, frame.right(late)});
                m_lineFreeAt = first + (m_paced ? late * kByteSeconds : 0.0);
            }
            break;
        }
        send(frame, t);
        break;
    }
    case 'Y':
        putToSleepAfter(send(settingsReply(), t));
        break;
    case 'I':
        putToSleepAfter(send(setIndex(), t));
        break;
    case 'K':
        putToSleepAfter(send(setDump(at(1)), t));
        break;
    case 'C':
        putToSleepAfter(send(clockReply(t), t));
        break;
    case 'E':
        eraseSets();
        break;
    case 'W':
        if (at(1) != 0x00)
            break;
        switch (at(2)) {
        case 0:
            m_idCode = static_cast<quint16>((m_idCode & 0xFF00) | at(3));
            break;
        case 1:
            m_idCode = static_cast<quint16>((m_idCode & 0x00FF) | at(3) << 8);
            break;
        case 7:
            m_interval = static_cast<quint16>((m_interval & 0xFF00) | at(3));
            break;
        case 8:
            m_interval = static_cast<quint16>((m_interval & 0x00FF) | at(3) << 8);
            break;
        default:
            break;
        }
        break;
    case 'D': {
        std::array<int, 6> f{};
        for (int i = 0; i < 6; ++i) {
            const auto field = fromBcd(at(i + 1));
            if (!field)
                return;
            f[i] = *field;
        }
        const QDate date(2000 + f[0], f[1], f[2]);
        const QTime time(f[3], f[4], f[5]);
        if (date.isValid() && time.isValid())
            setClock(QDateTime(date, time), t);
        break;
    }
    case 'F':
        if (at(1) == 0x08)
            m_unitFc = !m_unitFc;
        break;
    default:
        break;
    }
}

std::optional<double> MeterEngine::send(const QByteArray& reply, double t) {
    if (m_silent || m_unplugged || reply.isEmpty())
        return std::nullopt;
    const qsizetype pieces = std::min<qsizetype>(m_pieces, reply.size());
    double cursor = std::max(t + (m_paced ? kTurnaround : kUnpacedDelay), m_lineFreeAt);
    double last = cursor;
    for (qsizetype k = 0; k < pieces; ++k) {
        const qsizetype from = reply.size() * k / pieces;
        const qsizetype to = reply.size() * (k + 1) / pieces;
        Burst burst{cursor, 0.0, reply.mid(from, to - from)};
        if (m_paced) {
            burst.first = cursor + kByteSeconds;
            burst.spacing = kByteSeconds;
            last = cursor + static_cast<double>(burst.bytes.size()) * kByteSeconds;
        } else {
            last = cursor;
        }
        m_out.push_back(std::move(burst));
        cursor = last + m_pieceGap;
    }
    m_lineFreeAt = last;
    return last;
}

void MeterEngine::putToSleepAfter(std::optional<double> end) {
    if (!end)
        return;
    m_busyUntil = *end;
    m_sleepAt = *end;
}

int MeterEngine::available(double t) const {
    qsizetype count = 0;
    for (const Burst& burst : m_out) {
        const qsizetype arrived = burst.arrivedBy(t);
        count += arrived - burst.taken;
        if (arrived < burst.bytes.size())
            break;
    }
    return static_cast<int>(std::min<qsizetype>(count, std::numeric_limits<int>::max()));
}

QByteArray MeterEngine::take(double t) {
    QByteArray taken;
    while (!m_out.empty()) {
        Burst& burst = m_out.front();
        const qsizetype arrived = burst.arrivedBy(t);
        taken += burst.bytes.mid(burst.taken, arrived - burst.taken);
        burst.taken = arrived;
        if (arrived < burst.bytes.size())
            break;
        m_out.pop_front();
    }
    return taken;
}

void MeterEngine::discard(double t) {
    take(t);
}

std::optional<double> MeterEngine::nextArrival() const {
    if (m_out.empty())
        return std::nullopt;
    const Burst& burst = m_out.front();
    return burst.first + static_cast<double>(burst.taken) * burst.spacing;
}

void MeterEngine::anchor(double t) const {
    if (!m_clockAt)
        m_clockAt = t;
}

// ---- Live reading.

void MeterEngine::setFlag(StatusFlag flag, bool on) {
    if (flag == MaxShown && on && !this->flag(MaxShown))
        m_maxLux = m_lux;
    m_flags = on ? (m_flags | flag) : (m_flags & ~flag);
}

void MeterEngine::setRange(int fullScale) {
    for (int index = 0; index < 4; ++index) {
        if (fullScaleOf(index) == fullScale)
            m_rangeIndex = index;
    }
}

int MeterEngine::range() const {
    return fullScaleOf(m_rangeIndex);
}

void MeterEngine::setIlluminance(double lux) {
    m_level = std::max(lux, 0.01);
    m_lux = m_level;
    m_maxLux = m_lux;
}

double MeterEngine::gaussian() {
    // Box-Muller; 1 - u keeps the logarithm away from zero.
    const double u = 1.0 - m_random.generateDouble();
    const double v = m_random.generateDouble();
    return std::sqrt(-2.0 * std::log(u)) * std::cos(6.283185307179586 * v);
}

void MeterEngine::advanceWalk(double t) {
    if (!m_walkTime) {
        m_walkTime = t;
        return;
    }
    if (t - *m_walkTime > kWalkHorizon)
        m_walkTime = t - kWalkHorizon;
    while (*m_walkTime + kWalkStep <= t + kTimeSlack) {
        *m_walkTime += kWalkStep;
        if (flag(Held))
            continue;
        if (m_drift) {
            // In logarithms, pulled back towards the level: a lamp flickers by a few percent,
            // it does not wander off to zero.
            const double x = std::log(m_lux);
            m_lux = std::exp(x + 0.02 * (std::log(m_level) - x) + 0.01 * gaussian());
        }
        m_maxLux = std::max(m_maxLux, m_lux);
    }
}

double MeterEngine::illuminance(double t) {
    advanceWalk(t);
    return m_lux;
}

double MeterEngine::shownReading(double t) {
    advanceWalk(t);
    const double lux = flag(MaxShown) ? m_maxLux : m_lux;
    return m_unitFc ? lux / kLuxPerFc : lux;
}

quint8 MeterEngine::statusByte() const {
    return static_cast<quint8>(m_flags | (m_unitFc ? 0x08 : 0) | m_rangeIndex << 4);
}

std::array<quint8, 2> MeterEngine::encodeDigits(double shown, int rangeIndex) {
    static constexpr double kCountsPerUnit[] = {100.0, 10.0, 1.0, 0.1};
    const double scaled = std::max(shown, 0.0) * kCountsPerUnit[rangeIndex & 3];
    if (!std::isfinite(scaled) || scaled >= 1999.5)
        return {0xFF, 0xFF};
    const int counts = static_cast<int>(std::lround(scaled));
    const int low = counts % 1000;
    return {static_cast<quint8>((counts >= 1000 ? 0x10 : 0x00) | low / 100),
            static_cast<quint8>((low / 10 % 10) << 4 | low % 10)};
}

QByteArray MeterEngine::liveFrame(double t) {
    auto digits = encodeDigits(shownReading(t), m_rangeIndex);
    if (m_overload)
        digits = {0xFF, 0xFF};
    QByteArray frame;
    frame.append(static_cast<char>(kStart));
    frame.append(static_cast<char>(statusByte()));
    frame.append(static_cast<char>(digits[0]));
    frame.append(static_cast<char>(digits[1]));
    frame.append(static_cast<char>(kEnd));
    return frame;
}

// ---- Logger memory.

bool MeterEngine::addSet(const LoggedSet& set) {
    if (m_sets.size() >= kMaxSets || set.sampleCount() > kMaxSamples)
        return false;
    m_sets.append(set);
    // A large set may outgrow the memory the meter reports; grow it so the figures still agree.
    const int units = (memoryUsed() + 16383) / 16384;
    m_capacity = static_cast<quint8>(std::clamp(units, static_cast<int>(m_capacity), 255));
    return true;
}

int MeterEngine::addSyntheticSet(int samples, quint16 interval, quint8 rangeUnitCode) {
    const int count = std::clamp(samples, 0, kMaxSamples);
    const int rangeIndex = (rangeUnitCode >> 1) & 3;
    const double level = 0.4 * fullScaleOf(rangeIndex);
    const auto seed = static_cast<quint32>(m_seed + 100 + m_sets.size());
    if (!addSet(makeSet({0x24, 0x01, 0x15, 0x08, 0x00, 0x00}, rangeUnitCode, interval,
                        syntheticSamples(count, rangeIndex, level, seed))))
        return 0;
    return static_cast<int>(m_sets.size());
}

void MeterEngine::eraseSets() {
    m_sets.clear();
    setFlag(MemoryFull, false);
}

int MeterEngine::memoryUsed() const {
    if (m_sets.isEmpty())
        return 15;
    qint64 used = 15;
    for (const LoggedSet& set : m_sets)
        used += 11 + set.samples.size();
    return static_cast<int>(std::min<qint64>(used, 65535));
}

QByteArray MeterEngine::settingsReply() const {
    QByteArray reply;
    reply.append(static_cast<char>(m_idCode >> 8));
    reply.append(static_cast<char>(m_idCode & 0xFF));
    reply.append('\0');
    reply.append(static_cast<char>(m_capacity));
    reply.append(static_cast<char>(m_sets.size()));
    appendWord(reply, memoryUsed());
    appendWord(reply, m_interval);
    return reply;
}

QByteArray MeterEngine::setIndex() const {
    QByteArray reply(1, '\0');
    for (const LoggedSet& set : m_sets) {
        for (const quint8 byte : set.start)
            reply.append(static_cast<char>(byte));
        reply.append(static_cast<char>(set.rangeUnitCode));
        appendWord(reply, set.interval);
        appendWord(reply, set.sampleCount());
    }
    return reply;
}

QByteArray MeterEngine::setDump(int number) const {
    if (number < 1 || number > m_sets.size())
        return {};
    const LoggedSet& set = m_sets[number - 1];
    QByteArray reply;
    reply.reserve(11 + set.samples.size());
    for (const quint8 byte : set.start)
        reply.append(static_cast<char>(byte));
    reply.append(static_cast<char>(set.rangeUnitCode));
    reply.append(4, '\0');
    reply += set.samples;
    return reply;
}

// ---- Clock.

void MeterEngine::setClock(const QDateTime& when, double t) {
    // Calendar fields only: the meter knows nothing of time zones or daylight saving.
    m_clockBase = QDateTime(when.date(), when.time(), QTimeZone::utc());
    m_clockAt = t;
}

QDateTime MeterEngine::clock(double t) const {
    anchor(t);
    return m_clockBase.addMSecs(static_cast<qint64>(std::floor((t - *m_clockAt) * 1000.0)));
}

QByteArray MeterEngine::clockReply(double t) const {
    const QDateTime now = clock(t);
    const QDate date = now.date();
    const QTime time = now.time();
    QByteArray reply;
    for (const int field :
         {time.second(), date.year() % 100, date.month(), date.day(), time.hour(), time.minute()})
        reply.append(static_cast<char>(toBcd(field)));
    return reply;
}

// ---- Faults.

void MeterEngine::setSplitReplies(int pieces, double gap) {
    m_pieces = std::max(pieces, 1);
    m_pieceGap = std::max(gap, 0.0);
}

void MeterEngine::delayNextFrameTail(int count, double delay) {
    m_lateTail = qBound(0, count, 4);
    m_lateTailDelay = std::max(delay, 0.0);
}

void MeterEngine::setUnplugged(bool on) {
    m_unplugged = on;
    if (on) {
        m_out.clear();
        m_command.clear();
    }
}
