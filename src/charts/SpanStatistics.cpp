#include "charts/SpanStatistics.h"

#include <QStringList>

#include "common/NumberText.h"
#include "records/RecordTableModel.h"

#include <algorithm>
#include <cmath>

namespace {

bool isSpanBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// readingNumber's rule (blanks anywhere, a sign, digits with one point, no exponent) read in
// place: a list of a million records would otherwise build a million strings. Digits that fit a
// double's mantissa, over a power of ten that is exact too, divide to the correctly rounded
// value, as the text parser gives; longer texts go to readingNumber itself.
std::optional<double> spanReading(QStringView text, int& decimals) {
    constexpr quint64 kExactMantissa = quint64{1} << 53;
    constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                  1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && isSpanBlank(text[i].unicode()))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    quint64 mantissa = 0;
    int fraction = 0;
    bool point = false;
    bool digits = false;
    bool exact = true;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (isSpanBlank(c))
            continue;
        if (c >= u'0' && c <= u'9') {
            const auto digit = static_cast<quint64>(c - u'0');
            digits = true;
            if (point)
                ++fraction;
            if (mantissa > (kExactMantissa - digit) / 10)
                exact = false;
            else
                mantissa = mantissa * 10 + digit;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!digits)
        return std::nullopt;
    decimals = fraction;
    if (!exact || fraction >= static_cast<int>(std::size(kPowers)))
        return readingNumber(text);
    const double magnitude = static_cast<double>(mantissa) / kPowers[fraction];
    return negative ? -magnitude : magnitude;
}

// The value cell of a stored row. The cells before it are short: a plain loop finds their tabs
// in a fraction of the time of a library search, which pays off only on long texts.
QStringView spanValueCell(QStringView row) {
    const char16_t* const begin = row.utf16();
    const char16_t* const end = begin + row.size();
    const char16_t* cell = begin;
    for (int column = 0; column < RecordTableModel::kValueColumn; ++column) {
        while (cell != end && *cell != u'\t')
            ++cell;
        if (cell == end)
            return {};
        ++cell;
    }
    const char16_t* cellEnd = cell;
    while (cellEnd != end && *cellEnd != u'\t')
        ++cellEnd;
    return QStringView(cell, cellEnd);
}

QString withUnit(const QString& number, const QString& unit) {
    return unit.isEmpty() ? number : number + u' ' + unit;
}

// Four significant digits up to 1000, whole units beyond.
QString exposureNumber(double value) {
    const double size = std::abs(value);
    const int digits = size < 10 ? 3 : size < 100 ? 2 : size < 1000 ? 1 : 0;
    return QString::number(value, 'f', digits);
}

} // namespace

SpanStatistics spanStatistics(const RecordTableModel& list, long long first, long long last,
                              double intervalSeconds, const QString& unit,
                              const SpanLimits& limits) {
    SpanStatistics s;
    s.unit = unit;
    if (limits.high)
        s.secondsAbove = 0;
    if (limits.low)
        s.secondsBelow = 0;
    first = std::max(first, 0LL);
    last = std::min(last, static_cast<long long>(list.dataRowCount()) - 1);
    if (first > last)
        return s;
    s.records = last - first + 1;
    s.firstTime = list.cell(static_cast<int>(first + 1), RecordTableModel::kTimeColumn);
    s.lastTime = list.cell(static_cast<int>(last + 1), RecordTableModel::kTimeColumn);

    double minimum = 0;
    double maximum = 0;
    // Compensated (Neumaier): a day of readings keeps every digit in its mean and exposure.
    double sum = 0;
    double compensation = 0;
    long long above = 0;
    long long below = 0;
    for (long long r = first + 1; r <= last + 1; ++r) {
        const QStringView text = spanValueCell(list.rowView(static_cast<int>(r)));
        int decimals = 0;
        const std::optional<double> reading = spanReading(text, decimals);
        if (!reading) {
            if (text.trimmed() == u"OL") {
                ++s.overloads;
                ++above;
            } else {
                ++s.unreadable;
            }
            continue;
        }
        const double v = *reading;
        if (s.numbers == 0) {
            minimum = v;
            maximum = v;
        } else {
            minimum = std::min(minimum, v);
            maximum = std::max(maximum, v);
        }
        ++s.numbers;
        s.decimals = std::max(s.decimals, decimals);
        const double next = sum + v;
        if (std::abs(sum) >= std::abs(v))
            compensation += (sum - next) + v;
        else
            compensation += (v - next) + sum;
        sum = next;
        if (limits.high && v > *limits.high)
            ++above;
        if (limits.low && v < *limits.low)
            ++below;
    }
    // A garbled cell can hold any number of digits after its point.
    s.decimals = std::min(s.decimals, 6);
    const double total = sum + compensation;
    s.exposure = total * intervalSeconds / 3600;
    if (s.numbers > 0) {
        s.minimum = minimum;
        s.maximum = maximum;
        s.mean = total / static_cast<double>(s.numbers);
        if (*s.mean > 0)
            s.uniformity = minimum / *s.mean;
    }
    if (s.secondsAbove)
        s.secondsAbove = static_cast<double>(above) * intervalSeconds;
    if (s.secondsBelow)
        s.secondsBelow = static_cast<double>(below) * intervalSeconds;
    return s;
}

std::vector<CaptionedText> spanStatisticsTexts(const SpanStatistics& s) {
    const auto value = [&](std::optional<double> v, int decimals) {
        return v ? withUnit(QString::number(*v, 'f', decimals), s.unit) : QString();
    };
    const auto duration = [](std::optional<double> seconds) {
        return seconds ? durationText(*seconds) : QString();
    };
    return {
        {QStringLiteral("Records"), QString::number(s.records)},
        {QStringLiteral("OL records"), QString::number(s.overloads)},
        {QStringLiteral("From"), s.firstTime},
        {QStringLiteral("To"), s.lastTime},
        {QStringLiteral("Minimum"), value(s.minimum, s.decimals)},
        {QStringLiteral("Maximum"), value(s.maximum, s.decimals)},
        // The mean lies between readings: one digit finer than they are.
        {QStringLiteral("Mean"), value(s.mean, s.decimals + 1)},
        {QStringLiteral("Uniformity"),
         s.uniformity ? QString::number(*s.uniformity, 'f', 2) : QString()},
        {QStringLiteral("Above high"), duration(s.secondsAbove)},
        {QStringLiteral("Below low"), duration(s.secondsBelow)},
        {QStringLiteral("Exposure"),
         s.numbers > 0 ? exposureNumber(s.exposure) + u' ' + exposureUnit(s.unit) : QString()},
    };
}

QString durationText(double seconds) {
    const auto whole = static_cast<long long>(std::llround(std::max(0.0, seconds)));
    return QStringLiteral("%1:%2:%3")
        .arg(whole / 3600)
        .arg(whole / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(whole % 60, 2, 10, QLatin1Char('0'));
}

QString exposureUnit(QStringView unit) {
    if (unit.compare(u"LUX", Qt::CaseInsensitive) == 0)
        return QStringLiteral("lx·h");
    if (unit.compare(u"Fc", Qt::CaseInsensitive) == 0)
        return QStringLiteral("fc·h");
    return unit.toString() + QStringLiteral("·h");
}

QString spanStatisticsLine(const SpanStatistics& statistics) {
    QStringList parts;
    for (const CaptionedText& line : spanStatisticsTexts(statistics)) {
        if (!line.text.isEmpty())
            parts << line.caption + u' ' + line.text;
    }
    return parts.join(QStringLiteral(", "));
}
