#include "link/PortNames.h"

#include <QDir>
#include <QHash>

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
    return portListItems(systemDevices, {});
}

QStringList portListItems(const QStringList& systemDevices, const QList<StablePort>& stable) {
    QStringList items;
    for (int n = 1; n <= 8; ++n)
        items << QStringLiteral("COM") + QString::number(n);
    for (const StablePort& port : stable)
        items << port.name;
    for (const QString& device : systemDevices) {
        if (!items.contains(device))
            items << device;
    }
    items << kDemoPort;
    return items;
}

QStringList portListLines(const QStringList& systemDevices, const QList<StablePort>& stable) {
    QStringList lines;
    QStringList listed;
    for (const QString& item : portListItems(systemDevices, stable)) {
        const std::optional<PortChoice> choice = portChoiceFromText(item, stable);
        const QString device = choice && choice->comPort > 0 ? deviceForComPort(choice->comPort)
                                                             : (choice ? choice->device : item);
        if (device != item && !device.isEmpty()) {
            lines << item + u'\t' + device;
        } else {
            if (listed.contains(item))
                continue;
            lines << item;
        }
        listed << device;
    }
    return lines;
}

std::optional<PortChoice> portChoiceFromText(const QString& text, const QList<StablePort>& stable) {
    if (auto choice = portChoiceFromText(text))
        return choice;
    for (const StablePort& port : stable) {
        if (text == port.name)
            return PortChoice{0, port.path};
    }
    return std::nullopt;
}

QList<StablePort> stablePorts(const QString& folder) {
    // The links point at device files, which only the System filter lists.
    const QDir dir(folder, {}, QDir::Name, QDir::Files | QDir::System | QDir::NoDotAndDotDot);
    const QStringList links = dir.entryList();
    QHash<QString, int> uses;
    for (const QString& link : links)
        ++uses[adapterName(link)];
    QList<StablePort> ports;
    for (const QString& link : links) {
        const QString path = dir.absoluteFilePath(link);
        const QString name = adapterName(link);
        // A path opens as itself.
        const bool taken = uses.value(name) > 1 || portChoiceFromText(name);
        ports.push_back({taken ? path : name, path});
    }
    return ports;
}
