#pragma once

#include <QString>
#include <QStringView>

// Where Linux keeps a link to each USB serial adapter, named after the adapter's maker, model
// and serial number: unlike ttyUSB0, the name stays when the adapter goes into another socket.
inline const QString kSerialByIdFolder = QStringLiteral("/dev/serial/by-id/");

// The short adapter name of a link there: the bus prefix and the first interface's suffix
// left out, "usb-Serial_Cable_UART_A50285BI-if00-port0" gives
// "Serial_Cable_UART_A50285BI". Other interfaces of an adapter with several keep theirs.
QString adapterName(QStringView linkName);
