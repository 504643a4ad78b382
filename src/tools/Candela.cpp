#include "tools/Candela.h"

#include "common/NumberText.h"
#include "common/Value.h"

#include <QLocale>
#include <cmath>

namespace {

constexpr int kSignificantDigits = 15;

QString withoutTrailingZeros(QString digits) {
    while (digits.endsWith(u'0'))
        digits.chop(1);
    return digits;
}

} // namespace

LightReadout lightReadout(const QString& unit, const Value& reading, const QString& distance) {
    LightReadout out;
    out.unit = unit;
    out.reading = reading.text();
    out.distanceUnit = unit == QStringLiteral("Fc") ? QStringLiteral("F") : QStringLiteral("M");
    if (out.reading.contains(u'L')) {
        out.candela = QStringLiteral("OL");
        return out;
    }
    if (distance.isEmpty() || distance == QStringLiteral(".")) {
        out.candela = QStringLiteral("0");
        return out;
    }
    const double d = leadingNumber(distance);
    const double candela = d * d * reading.number();
    if (!std::isfinite(candela)) {
        out.candela = QStringLiteral("0");
        out.clearDistance = true;
        return out;
    }
    out.candela = signedNumberText(candela);
    return out;
}

QString signedNumberText(double value) {
    const QString sign = value < 0 ? QStringLiteral("-") : QStringLiteral(" ");
    if (value == 0)
        return sign + u'0';
    // "d.dddddddddddddde+XX": the digits rounded to 15 significant ones, and the exponent that
    // rounding gave.
    const QString scientific = QLocale::c().toString(std::fabs(value), 'e', kSignificantDigits - 1);
    const qsizetype e = scientific.indexOf(u'e');
    const QString digits = withoutTrailingZeros(scientific.left(e).remove(u'.'));
    const int exponent = scientific.mid(e + 1).toInt();

    if (exponent >= kSignificantDigits || exponent < -4) {
        QString mantissa = digits.left(1);
        if (digits.size() > 1)
            mantissa += u'.' + digits.mid(1);
        const QString power = QString::number(std::abs(exponent)).rightJustified(2, u'0');
        return sign + mantissa + (exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+")) +
               power;
    }
    if (exponent < 0)
        return sign + u'.' + QString(-exponent - 1, u'0') + digits;
    const int whole = exponent + 1;
    if (digits.size() <= whole)
        return sign + digits + QString(whole - digits.size(), u'0');
    return sign + digits.left(whole) + u'.' + digits.mid(whole);
}
