#pragma once

#include <QByteArrayView>
#include <QtGlobal>
#include <optional>

struct LiveReading;

// The live reading frame: 0x02, status, digit byte A, digit byte B, 0x03.
inline constexpr char kLiveRequest = ' ';
inline constexpr int kLiveFrameSize = 5;

struct LiveFrameBytes {
    quint8 status = 0;
    quint8 digitA = 0;
    quint8 digitB = 0;
};

// The last complete 02 s A B 03 group in what arrived, or none. The late tail of one answer may
// lie in front of the next one, or a late answer in front of the next one's first bytes: only
// a group the meter sent whole is a reading, so a last group that overlaps another is none.
std::optional<LiveFrameBytes> lastLiveFrame(QByteArrayView received);

// Status byte: battery, MAX, hold, unit, range, memory full, meter logging.
void DecodeStatus(LiveReading& state, quint8 status);
// Digit bytes into LeadOne and Value, by the range DecodeStatus has just set.
void DecodeDigits(LiveReading& state, quint8 byteA, quint8 byteB);
