#pragma once

#include "common/Value.h"

#include <QtGlobal>
#include <optional>

// The meter's digit rule, shared by the live frame and the logger's samples: byte A carries the
// first digit (low nibble) and the leading-one bit (bit 4), byte B the second and third digits.
struct MeterDigits {
    bool leadOne = false;
    // nullopt when the range is none of 20, 200, 2000, 20000 and no overload or leading one
    // decides the value: the caller keeps its previous value then.
    std::optional<Value> value;
};

MeterDigits decodeMeterDigits(std::optional<qint16> range, quint8 byteA, quint8 byteB);

// Range full scale from its index 0..3: 20, 200, 2000, 20000.
qint16 rangeFromIndex(int index);
