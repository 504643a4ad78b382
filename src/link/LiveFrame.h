#pragma once

#include <QtGlobal>

struct SharedState;

// The live reading frame: 0x02, status, digit byte A, digit byte B, 0x03.
inline constexpr char kLiveRequest = ' ';
inline constexpr int kLiveFrameSize = 5;

// Status byte: battery, MAX, hold, unit, range, memory full, meter logging.
void DecodeStatus(SharedState& state, quint8 status);
// Digit bytes into LeadOne and Value, by the range DecodeStatus has just set.
void DecodeDigits(SharedState& state, quint8 byteA, quint8 byteB);
