#include "tools/ClockTexts.h"

namespace {

QString field(const QByteArray& reply, int index) {
    return QString::number(static_cast<quint8>(reply.at(index)), 16)
        .toUpper()
        .rightJustified(2, u'0');
}

} // namespace

QString clockReplyText(const QByteArray& reply) {
    if (reply.size() < 6)
        return {};
    return field(reply, 2) + u'/' + field(reply, 3) + u'/' + field(reply, 1) + u' ' +
           field(reply, 4) + u':' + field(reply, 5) + u':' + field(reply, 0);
}

std::optional<QDateTime> clockReplyTime(const QByteArray& reply) {
    if (reply.size() < 6)
        return std::nullopt;
    int fields[6];
    for (int i = 0; i < 6; ++i) {
        bool ok = false;
        fields[i] = field(reply, i).toInt(&ok, 10);
        if (!ok)
            return std::nullopt;
    }
    const QDate date(2000 + fields[1], fields[2], fields[3]);
    const QTime time(fields[4], fields[5], fields[0]);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time);
}

QString pcClockText(const QDateTime& now) {
    // Format strings take "/" and ":" literally; no locale is asked.
    return now.toString(QStringLiteral("MM/dd/yy HH:mm:ss"));
}
