#pragma once

#include "common/SerialById.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The port choices of the start window and what they open.
struct PortChoice {
    qint16 comPort = 0; // 1..8 for "COM1".."COM8" and "Auto"
    QString device;     // a device path or "Demo" when comPort is 0
};

inline const QString kDemoPort = QStringLiteral("Demo");

// "Auto" and "COM1".."COM8" (exact case) name COM ports; a text beginning with "/" is a device
// path; "Demo" is the built-in simulated meter; anything else matches nothing.
std::optional<PortChoice> portChoiceFromText(const QString& text);

// The device a COM port number opens: /dev/ttyS0../dev/ttyS7 on Linux, COMn on Windows.
QString deviceForComPort(int comPort);

// "COM1".."COM8", the serial devices the system reports (by path), then "Demo".
QStringList portListItems(const QStringList& systemDevices);

// A serial device by its stable name: the short adapter name the list shows and the full path
// under /dev/serial/by-id it opens.
struct StablePort {
    QString name;
    QString path;

    friend bool operator==(const StablePort&, const StablePort&) = default;
};

// The stable names in a folder (the system's by default), sorted; none where the folder does
// not exist, as on systems other than Linux. A short name that another port or another adapter
// already uses is shown by its full path instead.
QList<StablePort> stablePorts(const QString& folder = kSerialByIdFolder);

// As above, and the short name of a stable port opens its full path. Names of COM ports, of
// "Demo" and device paths come first.
std::optional<PortChoice> portChoiceFromText(const QString& text, const QList<StablePort>& stable);

// "COM1".."COM8", the stable names, the serial devices the system reports, then "Demo".
QStringList portListItems(const QStringList& systemDevices, const QList<StablePort>& stable);

// The lines of `luxlog-cli ports`: each name of the list with the device it opens after a TAB
// where they differ ("COM1\t/dev/ttyS0"), each device once (a reported device that a COM name
// already opens is not listed again).
QStringList portListLines(const QStringList& systemDevices, const QList<StablePort>& stable);
