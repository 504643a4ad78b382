#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <functional>

class Clock;
class SerialPort;

// How an exchange with the meter ended.
enum class LinkStatus {
    Ok,
    NoReply,   // the meter stayed silent too long; callers show kMeterNotResponding
    Cancelled, // the program is closing or the caller's window went away
    // A setting value the meter cannot hold: nothing was sent; callers show
    // kInvalidSettingValue.
    OutOfRange,
};

template <typename T> struct LinkResult {
    LinkStatus status = LinkStatus::NoReply;
    // The reply when status is Ok; after a failed collection, whatever had arrived.
    T reply{};
    bool ok() const { return status == LinkStatus::Ok; }
};

inline const QString kMeterNotResponding =
    QStringLiteral("Meter not responding, check the connection and try again!");
inline const QString kInvalidSettingValue = QStringLiteral("Invalid, 0 < = Input Data < = 65535.");

// Logger setting addresses: low byte, high byte.
inline constexpr quint8 kIdLowAddress = 0;
inline constexpr quint8 kIdHighAddress = 1;
inline constexpr quint8 kIntervalLowAddress = 7;
inline constexpr quint8 kIntervalHighAddress = 8;

inline constexpr int kClockReplySize = 6;

// The meter's command set. One object per operation, over the program's port and clock. Every
// pause is a 0.2 s wait that lets other handlers run; when the wait reports that the program is
// closing, or the cancel predicate says the caller is gone, the exchange ends as Cancelled.
//
// A silent meter never holds an exchange for ever: a fixed-length exchange (wake, settings,
// clock, the check before an erase) gives up 5 s after it started, a collection in pieces (set
// index, set dump) when 5 s pass without a new byte.
//
// The exchange never touches the live poll: callers stop it before and start it again after.
class MeterExchange {
public:
    using CancelPredicate = std::function<bool()>;
    using Progress = std::function<void(double percent)>;

    static constexpr double kPause = 0.2;
    static constexpr double kGiveUpSeconds = 5.0;

    MeterExchange(SerialPort& port, Clock& clock, CancelPredicate cancelled = {});

    // Steps every command is built from.
    void FlushInput();
    // " " and a pause until exactly one live frame (5 bytes) is waiting.
    LinkStatus WakeMeter();
    // " ", pause, the command bytes in one write, pause.
    LinkStatus SendCommand(const QByteArray& command);

    // The live reading request " ".
    void RequestReading();
    // The 9-byte settings reply.
    LinkResult<QByteArray> ReadSettings();
    // Right after ReadSettings: the index of `setCount` sets, 1 + 11 n bytes.
    LinkResult<QByteArray> ReadSetIndex(int setCount, const Progress& progress = {});
    // The dump of one set: 11 + 2 r bytes for its `sampleCount` samples r.
    LinkResult<QByteArray> ReadSet(quint8 setNumber, int sampleCount,
                                   const Progress& progress = {});
    // Waits for a live frame, then sends "E" three times.
    LinkStatus EraseMemory();
    // " ", pause, "W" 00 address data in one write, pause.
    LinkStatus WriteByte(quint8 address, quint8 data);
    // Sets the meter clock to `time` (taken from the PC clock once by the caller).
    LinkStatus SetClock(const QDateTime& time);
    // Six BCD bytes: second, year, month, day, hour, minute.
    LinkResult<QByteArray> ReadClock();
    // Switches the meter between LUX and Fc; the next live frame shows the new unit.
    LinkStatus ToggleUnit();

    // Writes a 16-bit setting as two bytes, low then high; Ok once both have gone out. A value
    // outside 0..65535 sends nothing and ends as OutOfRange.
    LinkStatus WriteSettingWord(quint8 lowAddress, quint8 highAddress, qint64 value);

private:
    bool pause();
    bool cancelled() const;
    bool expired(double giveUpAt) const;
    LinkStatus wake(double giveUpAt);
    LinkResult<QByteArray> readFixed(char command, int size);
    LinkResult<QByteArray> collect(int expected, const Progress& progress,
                                   const std::function<LinkStatus()>& resendWhileEmpty);

    SerialPort& m_port;
    Clock& m_clock;
    CancelPredicate m_cancelled;
};
