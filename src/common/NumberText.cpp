#include "common/NumberText.h"

#include <QLocale>
#include <cmath>
#include <limits>

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

struct Scan {
    double value = 0;
    qsizetype end = 0;   // index just after the last character used
    bool digits = false; // at least one mantissa digit
};

Scan scanNumber(QStringView text) {
    Scan scan;
    QString mantissa;
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto skipBlanks = [&] {
        while (i < n && isBlank(text[i]))
            ++i;
    };
    skipBlanks();
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-')
            mantissa += u'-';
        ++i;
    }
    bool point = false;
    for (;;) {
        skipBlanks();
        if (i >= n)
            break;
        const QChar c = text[i];
        if (c.isDigit() && c.unicode() < 128) {
            mantissa += c;
            scan.digits = true;
            ++i;
        } else if (c == u'.' && !point) {
            mantissa += c;
            point = true;
            ++i;
        } else {
            break;
        }
    }
    scan.end = i;
    if (!scan.digits)
        return scan;
    // Exponent: only taken when digits follow it.
    if (i < n && (text[i] == u'e' || text[i] == u'E' || text[i] == u'd' || text[i] == u'D')) {
        qsizetype j = i + 1;
        QString exponent;
        while (j < n && isBlank(text[j]))
            ++j;
        if (j < n && (text[j] == u'+' || text[j] == u'-')) {
            exponent += text[j];
            ++j;
        }
        bool expDigits = false;
        for (; j < n; ++j) {
            if (isBlank(text[j]))
                continue;
            if (!(text[j].isDigit() && text[j].unicode() < 128))
                break;
            exponent += text[j];
            expDigits = true;
        }
        if (expDigits) {
            mantissa += u'e' + exponent;
            scan.end = j;
        }
    }
    bool ok = false;
    scan.value = QLocale::c().toDouble(mantissa, &ok);
    if (!ok) {
        // Out-of-range exponents: the C locale parser refuses them, strtod saturates.
        scan.value = std::strtod(mantissa.toLatin1().constData(), nullptr);
    }
    return scan;
}

} // namespace

double leadingNumber(QStringView text) {
    return scanNumber(text).value;
}

double readingNumber(QStringView reading) {
    for (qsizetype i = 0; i < reading.size(); ++i) {
        if (reading[i].isLetter())
            return leadingNumber(reading.first(i));
    }
    return leadingNumber(reading);
}

std::optional<double> leadingNumberIn(QStringView text) {
    const Scan scan = scanNumber(text);
    if (!scan.digits)
        return std::nullopt;
    return scan.value;
}

std::optional<double> exactNumber(QStringView text) {
    const Scan scan = scanNumber(text);
    if (!scan.digits)
        return std::nullopt;
    for (qsizetype i = scan.end; i < text.size(); ++i) {
        if (!isBlank(text[i]))
            return std::nullopt;
    }
    return scan.value;
}

QString numberText(double value) {
    if (value == 0)
        return QStringLiteral("0");
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15)
        return QString::number(static_cast<qint64>(value));
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

double roundHalfEven(double value) {
    return std::nearbyint(value);
}
