#pragma once

#include "common/Value.h"

#include <QString>
#include <optional>

// The meter's live reading as the last decoded frame left it. Owner: the live poll (its
// decoder); readers: the main window, the sampling tick, the charts and the tools.
struct LiveReading {
    bool BatLow = false;
    bool MaxOn = false;
    bool HoldOn = false;
    bool MemFull = false;
    bool MeterRec = false;
    bool LeadOne = false;
    qint16 UnitFlag = 0;
    QString Unit;
    std::optional<qint16> Range; // empty until the first frame
    ::Value Value;
    // A frame was decoded since the last sample was due: a sample takes only a fresh reading.
    bool NewReading = false;
    // Frames decoded since the program started; windows that follow every reading compare it.
    quint64 FrameCount = 0;
};

// Text of a range for captions and headers: "2000", or empty before the first frame.
QString rangeText(std::optional<qint16> range);
