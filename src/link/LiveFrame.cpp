#include "link/LiveFrame.h"

#include "common/SharedState.h"
#include "link/MeterDigits.h"

std::optional<LiveFrameBytes> lastLiveFrame(QByteArrayView received) {
    for (qsizetype at = received.size() - kLiveFrameSize; at >= 0; --at) {
        if (received[at] == '\x02' && received[at + 4] == '\x03')
            return LiveFrameBytes{static_cast<quint8>(received[at + 1]),
                                  static_cast<quint8>(received[at + 2]),
                                  static_cast<quint8>(received[at + 3])};
    }
    return std::nullopt;
}

void DecodeStatus(SharedState& state, quint8 status) {
    state.BatLow = status & 0x01;
    state.MaxOn = status & 0x02;
    state.HoldOn = status & 0x04;
    state.UnitFlag = (status & 0x08) ? 1 : 0;
    state.Range = rangeFromIndex((status / 16) % 4);
    state.MemFull = status & 0x40;
    state.MeterRec = (status & 0x80) && !state.MemFull;
    state.Unit = state.UnitFlag ? QStringLiteral("Fc") : QStringLiteral("LUX");
}

void DecodeDigits(SharedState& state, quint8 byteA, quint8 byteB) {
    const MeterDigits digits = decodeMeterDigits(state.Range, byteA, byteB);
    state.LeadOne = digits.leadOne;
    if (digits.value)
        state.Value = *digits.value;
}
