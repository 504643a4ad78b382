#pragma once

#include "common/CalendarTime.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

struct SharedState;

// The logger's replies: settings, set index, set dump. Two-byte numbers come low byte first,
// except the ID code; dates and times are packed BCD.

inline constexpr int kSettingsReplySize = 9;
inline constexpr int kSetEntrySize = 11;
inline constexpr int kSetHeaderSize = 11;
// The memory-in-use value of a logger that holds no data.
inline constexpr int kMemoryEmpty = 15;
inline constexpr int kMemoryUnits = 32768;

// 1 + 11 n bytes for n sets.
int setIndexSize(int setCount);
// 11 + 2 r bytes for r samples.
int setDumpSize(int sampleCount);

struct SettingsReply {
    int id = 0;
    int capacityK = 0;
    int setCount = 0;
    int memoryUsed = 0;
    int interval = 0;

    // nullopt unless the reply has exactly 9 bytes.
    static std::optional<SettingsReply> decode(QByteArrayView reply);

    bool holdsNoData() const { return memoryUsed == kMemoryEmpty; }
    // Usage for the memory bar; 100 while the live status says the memory is full.
    double memoryPercent(bool memFull) const;
    // "Capacity : 32 K"
    QString capacityText() const;
};

// One set of the index. The start fields stay packed BCD as received.
struct SetEntry {
    std::array<quint8, 6> start{}; // year, month, day, hour, minute, second
    quint8 rangeUnit = 0;
    int interval = 0;
    int sampleCount = 0;

    // From the 11 bytes of an index entry.
    static SetEntry decode(QByteArrayView entry);
};

// The entries of sets 1..n; nullopt when the index is shorter than 1 + 11 n bytes.
std::optional<std::vector<SetEntry>> decodeSetIndex(QByteArrayView index, int setCount);

// The row of the data logger window's set list, TAB separated:
// "3\t22/06/2010\t14:05:09\t2000 LUX\t60\t120". Decodes the set's range and unit on the way.
QString setRowText(SharedState& state, int setNumber, const SetEntry& entry);

// LogUnit and LogRange from a range/unit code: bit 0 the unit, bits 1-2 the range index.
void DecodeLogRangeUnit(SharedState& state, quint8 code);
// LogValue and LogBatLow from one sample, flag byte first; uses LogRange.
void DecodeLogValue(SharedState& state, quint8 flag, quint8 digit);

// Two hex digits of a packed BCD byte: 0x05 gives "05".
QString bcdText(quint8 byte);
// "20yy/mm/dd hh:nn:ss" from the first six header bytes, as they are.
QString setStartText(QByteArrayView header);
// The same, checked: nullopt when a nibble is not a decimal digit or the date or time does not
// exist.
std::optional<CalendarTime> setStartTime(QByteArrayView header);

// A downloaded set as list rows: "j\t22/06/2010 14:05:09\tvalue\t" plus "Low" when the battery
// was low. `error` is empty when every sample was decoded; otherwise it says why decoding
// stopped, and the rows before that sample are kept.
struct SetRows {
    QStringList rows;
    QString error;
};
// Decodes the range and unit of the set, then each sample (LogValue and LogBatLow end with the
// last one).
SetRows decodeSetDump(SharedState& state, QByteArrayView dump, int interval, int sampleCount);

// Suffix of the downloaded list's title: "---*ID=1234 Range:2000/LUX".
QString downloadTitleSuffix(const SharedState& state);
