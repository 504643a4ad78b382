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

QString pcClockText(const QDateTime& now) {
    // Format strings take "/" and ":" literally; no locale is asked.
    return now.toString(QStringLiteral("MM/dd/yy HH:mm:ss"));
}
