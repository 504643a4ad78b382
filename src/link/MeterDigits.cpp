#include "link/MeterDigits.h"

#include "common/NumberText.h"

namespace {

QChar hexDigit(int nibble) {
    return QChar(u"0123456789ABCDEF"[nibble & 0xF]);
}

} // namespace

qint16 rangeFromIndex(int index) {
    static constexpr qint16 kRanges[] = {20, 200, 2000, 20000};
    return kRanges[index & 3];
}

MeterDigits decodeMeterDigits(std::optional<qint16> range, quint8 byteA, quint8 byteB) {
    MeterDigits result;
    result.leadOne = (byteA & 0x10) != 0;
    const QChar d1 = hexDigit(byteA);
    const QChar d2 = hexDigit(byteB >> 4);
    const QChar d3 = hexDigit(byteB);

    QString t;
    // Nibbles above 9 come only from a garbled frame: the digit text then keeps its letters and
    // is never read as a number, whose rule would take "1D5" for 100000.
    const bool letters = (byteA & 0xF) > 9 || (byteB >> 4) > 9 || (byteB & 0xF) > 9;
    if (letters && (range == 20000 || range == 2000 || range == 200)) {
        t = range == 20000  ? QString(d1) + d2 + d3 + u'0'
            : range == 2000 ? QString(d1) + d2 + d3
                            : QString(d1) + d2 + u'.' + d3;
        result.value = Value::fromText(t);
    } else if (range == 20000) {
        t = QString(d1) + d2 + d3 + u'0';
        result.value = Value::fromNumber(leadingNumber(t));
    } else if (range == 2000) {
        t = QString(d1) + d2 + d3;
        result.value = Value::fromNumber(leadingNumber(t));
    } else if (range == 200) {
        t = QString(d1) + d2 + u'.' + d3;
        result.value = Value::fromText(numberText(leadingNumber(QString(d1) + d2)) + u'.' + d3);
    } else if (range == 20) {
        t = QString(d1) + u'.' + d2 + d3;
        result.value = Value::fromText(t);
    }
    if (result.leadOne)
        result.value = Value::fromText(u'1' + t);
    if (byteA == 0xFF || byteB == 0xFF)
        result.value = Value::fromText(QStringLiteral("OL"));
    return result;
}
