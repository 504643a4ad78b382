#pragma once

#include "common/Value.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

// The data logger window's state and its cache of downloaded sets. Owner: the data logger;
// readers: the downloaded-data lists' captions.
struct LoggerState {
    bool MemoryOn = false;
    std::array<QByteArray, 256> SetCache;
    QString LogUnit;
    std::optional<qint16> LogRange;
    ::Value LogValue;
    bool LogBatLow = false;
};
