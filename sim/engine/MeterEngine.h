#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QRandomGenerator>
#include <array>
#include <deque>
#include <optional>

// A simulated meter on a time line. The host side hands it bytes with the time they were sent
// and asks which reply bytes have arrived by a given time; nothing here waits or keeps a clock of
// its own, so the same engine serves virtual time in tests and real time in the program.
//
// Times are seconds on the caller's monotonic clock and must not go backwards.
class MeterEngine {
public:
    explicit MeterEngine(quint32 seed = 1);

    // The meter behind the "Demo" port: a reading of a few hundred lux in range 2000 and a
    // logger holding three sets of different length, range, unit and interval.
    static MeterEngine demo(quint32 seed);

    // ---- The line, host to meter and back.
    void receive(const QByteArray& bytes, double t);
    // Reply bytes that have arrived by t and are not yet taken.
    int available(double t) const;
    QByteArray take(double t);
    void discard(double t);
    // When the next byte not yet taken arrives (nullopt when nothing is in flight).
    std::optional<double> nextArrival() const;
    // Whether a byte arriving at t would be acted on rather than only wake the meter.
    bool awake(double t) const;

    // At 9600 baud a byte takes 10 bit times; unpaced replies arrive whole a few ms after the
    // request.
    static constexpr double kByteSeconds = 1.0 / 960.0;
    void setPaced(bool paced) { m_paced = paced; }
    bool paced() const { return m_paced; }

    // ---- Live reading.
    enum StatusFlag : quint8 {
        BatteryLow = 0x01,
        MaxShown = 0x02,
        Held = 0x04,
        MemoryFull = 0x40,
        Logging = 0x80,
    };
    void setFlag(StatusFlag flag, bool on);
    bool flag(StatusFlag flag) const { return (m_flags & flag) != 0; }
    // Full scale 20, 200, 2000 or 20000; other values are ignored.
    void setRange(int fullScale);
    int range() const;
    void setUnitFc(bool fc) { m_unitFc = fc; }
    bool unitFc() const { return m_unitFc; }
    // Moves the reading to `lux` and makes it the level the drift returns to.
    void setIlluminance(double lux);
    void setDrift(bool on) { m_drift = on; }
    // The illuminance the meter measures at t, in lux (before hold and MAX).
    double illuminance(double t);
    // Forces the overload digits whatever the reading.
    void setOverload(bool on) { m_overload = on; }
    quint8 statusByte() const;
    // The frame an awake meter sends for " " at t, before any fault is applied.
    QByteArray liveFrame(double t);

    // The digit bytes (A, B) of a reading in the shown unit for a range index 0..3; a reading
    // beyond 1999 counts gives the overload value 0xFF in both.
    static std::array<quint8, 2> encodeDigits(double shown, int rangeIndex);

    // ---- Logger memory.
    struct LoggedSet {
        // yy mm dd hh nn ss, packed BCD; tests may store anything here.
        std::array<quint8, 6> start{};
        quint8 rangeUnitCode = 0;
        quint16 interval = 1;
        // Two bytes per sample: digit byte, flag byte.
        QByteArray samples;
        int sampleCount() const { return static_cast<int>(samples.size() / 2); }
    };
    void setIdCode(quint16 id) { m_idCode = id; }
    quint16 idCode() const { return m_idCode; }
    // In units of 16 K.
    void setCapacity(quint8 units) { m_capacity = units; }
    quint8 capacity() const { return m_capacity; }
    void setInterval(quint16 seconds) { m_interval = seconds; }
    quint16 interval() const { return m_interval; }
    // False when the memory already holds 255 sets or the set has more than 65535 samples.
    bool addSet(const LoggedSet& set);
    // A set of `samples` readings (capped at 65535) drifting through the range of `code`,
    // started on a fixed date; returns its number (from 1), or 0 when no set could be added.
    int addSyntheticSet(int samples, quint16 interval, quint8 rangeUnitCode);
    const QList<LoggedSet>& sets() const { return m_sets; }
    // Set `number` counts from 1, as the meter numbers them.
    LoggedSet& set(int number) { return m_sets[number - 1]; }
    void eraseSets();
    // Bytes in use as the settings reply reports them: 15 when empty, at most 65535.
    int memoryUsed() const;

    QByteArray settingsReply() const;
    QByteArray setIndex() const;
    // Empty when there is no set of that number.
    QByteArray setDump(int number) const;

    // ---- Clock: set at t, it runs on with t.
    void setClock(const QDateTime& when, double t);
    QDateTime clock(double t) const;
    // second, year, month, day, hour, minute in packed BCD.
    QByteArray clockReply(double t) const;

    // ---- Faults; each may be switched at any time.
    void setSilent(bool on) { m_silent = on; }
    bool silent() const { return m_silent; }
    void setShortFrames(bool on) { m_shortFrames = on; }
    void setBadFraming(bool on) { m_badFraming = on; }
    void setTrailingBytes(int count) { m_trailing = qBound(0, count, 64); }
    // The last `count` bytes of the next live frame arrive `delay` seconds after the rest, as
    // after a glitch on the line: they land in front of the answer to the following request.
    void delayNextFrameTail(int count, double delay = 0.25);
    // Every reply in `pieces` parts with `gap` seconds between them; 1 piece is whole.
    void setSplitReplies(int pieces, double gap = 0.05);
    // An unplugged meter hears nothing and sends nothing; ports refuse to open on it.
    void setUnplugged(bool on);
    bool unplugged() const { return m_unplugged; }

private:
    struct Burst {
        double first;   // arrival of byte 0
        double spacing; // between bytes; 0 when the burst arrives whole
        QByteArray bytes;
        qsizetype taken = 0;
        qsizetype arrivedBy(double t) const;
    };

    void anchor(double t) const;
    void handleByte(quint8 byte, double t);
    void runCommand(double t);
    // Queues a reply; returns the arrival time of its last byte, nullopt when nothing is sent.
    std::optional<double> send(const QByteArray& reply, double t);
    void putToSleepAfter(std::optional<double> end);
    void advanceWalk(double t);
    double gaussian();
    double shownReading(double t);

    QRandomGenerator m_random;
    quint32 m_seed;

    // Line state.
    bool m_paced = false;
    double m_sleepAt = -1e300;   // asleep from this time on, until a byte wakes it
    double m_busyUntil = -1e300; // bytes arriving before this are lost in a logger reply
    double m_lineFreeAt = -1e300;
    QByteArray m_command;
    std::deque<Burst> m_out;

    // Reading.
    quint8 m_flags = 0;
    int m_rangeIndex = 2;
    bool m_unitFc = false;
    bool m_drift = true;
    bool m_overload = false;
    double m_level = 300.0;
    double m_lux = 300.0;
    double m_maxLux = 0.0;
    std::optional<double> m_walkTime;

    // Logger.
    quint16 m_idCode = 0;
    quint8 m_capacity = 2;
    quint16 m_interval = 1;
    QList<LoggedSet> m_sets;

    // Clock: m_clockBase at m_clockAt, or at the first time the engine sees when never set.
    QDateTime m_clockBase;
    mutable std::optional<double> m_clockAt;

    // Faults.
    bool m_silent = false;
    bool m_shortFrames = false;
    bool m_badFraming = false;
    int m_trailing = 0;
    int m_lateTail = 0;
    double m_lateTailDelay = 0;
    int m_pieces = 1;
    double m_pieceGap = 0.05;
    bool m_unplugged = false;
};
