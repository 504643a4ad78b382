#pragma once

#include <QString>

// The port the user chose in the start window. Owner: the start window; readers: the port
// opener and every port label.
struct ChosenPort {
    qint16 ComPort = 0;
    // Device opened instead of a numbered COM port: a device path or "Demo"; empty for COM1..8.
    QString ComDevice;
};
