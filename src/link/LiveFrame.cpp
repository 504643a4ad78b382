#include "link/LiveFrame.h"

#include "common/LiveReading.h"
#include "link/MeterDigits.h"

#include <algorithm>

std::optional<LiveFrameBytes> lastLiveFrame(QByteArrayView received) {
    auto isGroup = [&](qsizetype at) {
        return received[at] == '\x02' && received[at + kLiveFrameSize - 1] == '\x03';
    };
    for (qsizetype at = received.size() - kLiveFrameSize; at >= 0; --at) {
        if (!isGroup(at))
            continue;
        // Of two overlapping groups one was sent whole and the other is pieced together from
        // its bytes and a neighbour's (a late tail in front, the next answer's bytes behind);
        // nothing tells which is which.
        for (qsizetype before = std::max<qsizetype>(0, at - kLiveFrameSize + 1); before < at;
             ++before) {
            if (isGroup(before))
                return std::nullopt;
        }
        return LiveFrameBytes{static_cast<quint8>(received[at + 1]),
                              static_cast<quint8>(received[at + 2]),
                              static_cast<quint8>(received[at + 3])};
    }
    return std::nullopt;
}

void DecodeStatus(LiveReading& state, quint8 status) {
    state.BatLow = status & 0x01;
    state.MaxOn = status & 0x02;
    state.HoldOn = status & 0x04;
    state.UnitFlag = (status & 0x08) ? 1 : 0;
    state.Range = rangeFromIndex((status / 16) % 4);
    state.MemFull = status & 0x40;
    state.MeterRec = (status & 0x80) && !state.MemFull;
    state.Unit = state.UnitFlag ? QStringLiteral("Fc") : QStringLiteral("LUX");
}

void DecodeDigits(LiveReading& state, quint8 byteA, quint8 byteB) {
    const MeterDigits digits = decodeMeterDigits(state.Range, byteA, byteB);
    state.LeadOne = digits.leadOne;
    if (digits.value)
        state.Value = *digits.value;
}
