#include "cli/PublishMessages.h"

#include "common/NumberText.h"
#include "records/RecordExport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cmath>

namespace {

template <std::size_t N> void putText(std::array<char, N>& field, QStringView text) {
    const QByteArray bytes = text.toLatin1();
    const auto n = std::min<qsizetype>(bytes.size(), static_cast<qsizetype>(N) - 1);
    std::copy_n(bytes.constData(), n, field.begin());
    field[static_cast<std::size_t>(n)] = '\0';
}

template <std::size_t N> QString fieldText(const std::array<char, N>& field) {
    return QString::fromLatin1(field.data());
}

QString jsonFlag(bool on) {
    return on ? QStringLiteral("true") : QStringLiteral("false");
}

} // namespace

PublishSample PublishSample::make(QStringView time, QStringView reading, QStringView unit,
                                  std::optional<int> range, bool batteryLow, bool hold, bool max) {
    PublishSample sample;
    putText(sample.time, time);
    putText(sample.reading, reading);
    putText(sample.unit, unit);
    sample.range = range ? static_cast<qint16>(*range) : qint16{-1};
    sample.batteryLow = batteryLow;
    sample.hold = hold;
    sample.max = max;
    return sample;
}

QString PublishSample::timeText() const {
    return fieldText(time);
}

QString PublishSample::readingText() const {
    return fieldText(reading);
}

QString PublishSample::unitText() const {
    return fieldText(unit);
}

std::optional<BrokerAddress> BrokerAddress::parse(QStringView text, bool tls) {
    BrokerAddress address;
    address.port = tls ? 8883 : 1883;
    QStringView host = text;
    QStringView port;
    if (text.startsWith(u'[')) {
        const qsizetype close = text.indexOf(u']');
        if (close < 0)
            return std::nullopt;
        host = text.mid(1, close - 1);
        const QStringView rest = text.mid(close + 1);
        if (!rest.isEmpty()) {
            if (!rest.startsWith(u':'))
                return std::nullopt;
            port = rest.mid(1);
            if (port.isEmpty())
                return std::nullopt;
        }
    } else if (text.count(u':') == 1) {
        const qsizetype colon = text.indexOf(u':');
        host = text.left(colon);
        port = text.mid(colon + 1);
        if (port.isEmpty())
            return std::nullopt;
    }
    // More than one colon without brackets: an IPv6 address on the default port.
    if (host.isEmpty() || host.contains(u' '))
        return std::nullopt;
    if (!port.isEmpty()) {
        bool ok = false;
        const int number = port.toInt(&ok);
        const bool digitsOnly =
            std::all_of(port.begin(), port.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        if (!ok || !digitsOnly || number < 1 || number > 65535)
            return std::nullopt;
        address.port = number;
    }
    address.host = host.toString();
    return address;
}

QString BrokerAddress::text() const {
    const QString shown = host.contains(u':') ? u'[' + host + u']' : host;
    return shown + u':' + QString::number(port);
}

QString MeterTopics::state() const {
    return prefix + u'/' + meterId + QStringLiteral("/state");
}

QString MeterTopics::availability() const {
    return prefix + u'/' + meterId + QStringLiteral("/availability");
}

QString MeterTopics::uniqueId() const {
    return QStringLiteral("luxlog_") + meterId;
}

QString MeterTopics::discovery() const {
    return QStringLiteral("homeassistant/sensor/") + uniqueId() +
           QStringLiteral("/illuminance/config");
}

std::optional<QString> topicPrefix(QStringView text) {
    QStringView prefix = text;
    while (prefix.endsWith(u'/'))
        prefix.chop(1);
    if (prefix.isEmpty() || prefix.contains(u'+') || prefix.contains(u'#') ||
        prefix.contains(QChar(0)) || prefix.startsWith(u'$'))
        return std::nullopt;
    return prefix.toString();
}

QByteArray stateMessage(const PublishSample& sample, const QString& meterId) {
    ExportRow row;
    row.time = sample.timeText();
    row.reading = sample.readingText();
    row.value = exactNumber(row.reading);
    if (row.value && !std::isfinite(*row.value))
        row.value.reset();
    row.unit = sample.unitText();
    if (sample.range >= 0)
        row.range = sample.range;
    row.batteryLow = sample.batteryLow;
    row.meterId = meterId;
    // The export's row without its number, which only counts the rows of a file.
    QString json = jsonLine(row);
    const QString numberKey = QStringLiteral("{\"number\":\"\",");
    if (json.startsWith(numberKey))
        json.replace(0, numberKey.size(), QStringLiteral("{"));
    json.chop(1);
    json += QStringLiteral(",\"hold\":") + jsonFlag(sample.hold) + QStringLiteral(",\"max\":") +
            jsonFlag(sample.max) + u'}';
    return json.toUtf8();
}

QByteArray discoveryMessage(const MeterTopics& topics, QStringView unit) {
    // Home Assistant knows illuminance in lx only: a meter showing foot-candles is a plain sensor.
    const bool footCandles = unit.compare(u"Fc", Qt::CaseInsensitive) == 0;
    QJsonObject config{
        {QStringLiteral("name"), QStringLiteral("Illuminance")},
        {QStringLiteral("unique_id"), topics.uniqueId()},
        {QStringLiteral("unit_of_measurement"),
         footCandles ? QStringLiteral("fc") : QStringLiteral("lx")},
        {QStringLiteral("state_class"), QStringLiteral("measurement")},
        {QStringLiteral("state_topic"), topics.state()},
        {QStringLiteral("value_template"), QStringLiteral("{{ value_json.value }}")},
        {QStringLiteral("availability_topic"), topics.availability()},
        {QStringLiteral("device"),
         QJsonObject{
             {QStringLiteral("identifiers"), QJsonArray{topics.uniqueId()}},
             {QStringLiteral("name"), QStringLiteral("luxlog meter ") + topics.meterId},
         }},
    };
    if (!footCandles)
        config.insert(QStringLiteral("device_class"), QStringLiteral("illuminance"));
    return QJsonDocument(config).toJson(QJsonDocument::Compact);
}
