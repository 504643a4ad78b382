#include "common/SharedState.h"

#include "common/SerialById.h"

void SharedState::loadPanel(const QDateTime& now) {
    SamplingTime = 2.0f;
    Recording = false;
    AlarmHighFc = 20000;
    AlarmLowFc = 0;
    AlarmHighLux = 20000;
    AlarmLowLux = 0;
    AlarmOn = false;
    StartDate = now.date().toString(QStringLiteral("yyyy/MM/dd"));
    StartTime = now.time().toString(QStringLiteral("HH:mm:ss"));
    RecordTime = StartDate + u' ' + StartTime;
    MemoryOn = false;
}

QString portLabel(const ChosenPort& state) {
    if (state.ComPort > 0)
        return QStringLiteral("COM") + QString::number(state.ComPort);
    QString device = state.ComDevice;
    if (device.startsWith(kSerialByIdFolder) && device.size() > kSerialByIdFolder.size())
        return adapterName(QStringView(device).mid(kSerialByIdFolder.size()));
    if (device.startsWith(QStringLiteral("/dev/")))
        return device.mid(5);
    const qsizetype slash = device.lastIndexOf(u'/');
    return slash >= 0 ? device.mid(slash + 1) : device;
}

QString rangeText(std::optional<qint16> range) {
    return range ? QString::number(*range) : QString();
}
