#include "link/PortNames.h"

std::optional<PortChoice> portChoiceFromText(const QString& text) {
    if (text == QStringLiteral("Auto"))
        return PortChoice{1, {}};
    for (int n = 1; n <= 8; ++n) {
        if (text == QStringLiteral("COM") + QString::number(n))
            return PortChoice{static_cast<qint16>(n), {}};
    }
    if (text == kDemoPort || text.startsWith(u'/'))
        return PortChoice{0, text};
    return std::nullopt;
}

QString deviceForComPort(int comPort) {
#ifdef Q_OS_WIN
    return QStringLiteral("COM") + QString::number(comPort);
#else
    return QStringLiteral("/dev/ttyS") + QString::number(comPort - 1);
#endif
}

QStringList portListItems(const QStringList& systemDevices) {
    QStringList items;
    for (int n = 1; n <= 8; ++n)
        items << QStringLiteral("COM") + QString::number(n);
    for (const QString& device : systemDevices) {
        if (!items.contains(device))
            items << device;
    }
    items << kDemoPort;
    return items;
}
