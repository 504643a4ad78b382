#pragma once

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
