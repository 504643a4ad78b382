// Number texts and calendar texts.
//
// Input: a text (read as Latin-1 and as UTF-8). Its first 15 bytes also give a calendar time
// and a number of seconds, and its first 8 bytes a double.

#include "FuzzCheck.h"
#include "common/CalendarTime.h"
#include "common/NumberText.h"

#include <QDateTime>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

bool same(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

void checkNumbers(const QString& text) {
    const std::optional<double> leading = leadingNumberIn(text);
    FUZZ_CHECK(same(leadingNumber(text), leading.value_or(0)));
    // Whatever follows a text that is not part of a number changes nothing before it.
    const std::optional<double> followed = leadingNumberIn(text + u'x');
    FUZZ_CHECK(followed.has_value() == leading.has_value());
    if (leading)
        FUZZ_CHECK(same(*followed, *leading));
    if (const std::optional<double> exact = exactNumber(text)) {
        FUZZ_CHECK(leading && same(*exact, *leading));
        const std::optional<double> padded = exactNumber(u' ' + text + u' ');
        FUZZ_CHECK(padded && same(*padded, *exact));
    }
    if (leading && std::isfinite(*leading))
        FUZZ_CHECK(exactNumber(numberText(*leading)) == *leading);
}

void checkNumberText(double value) {
    if (!std::isfinite(value))
        return;
    const QString text = numberText(value);
    FUZZ_CHECK(exactNumber(text) == value);
    FUZZ_CHECK(!text.contains(u',') && !text.contains(u' '));
}

void checkHeldText(const QString& text) {
    const std::optional<CalendarTime> t = CalendarTime::parse(text);
    if (!t)
        return;
    FUZZ_CHECK(t->held() == text);
    FUZZ_CHECK(t->shown() == shownFromHeld(text));
    FUZZ_CHECK(addSeconds(text, 0) == text);
}

// A time built from fields: parse takes exactly the dates and times the calendar has, and
// adding seconds agrees with QDateTime in UTC.
void checkCalendar(const uint8_t* data) {
    const int year = (data[0] | data[1] << 8) % 10000;
    const int month = data[2] % 14, day = data[3] % 33;
    const int hour = data[4] % 25, minute = data[5] % 61, second = data[6] % 61;
    qint64 seconds = 0;
    std::memcpy(&seconds, data + 7, sizeof seconds);
    // Up to some 35,000 years either way.
    seconds %= qint64{1} << 40;

    const QString text = QStringLiteral("%1/%2/%3 %4:%5:%6")
                             .arg(year, 4, 10, QLatin1Char('0'))
                             .arg(month, 2, 10, QLatin1Char('0'))
                             .arg(day, 2, 10, QLatin1Char('0'))
                             .arg(hour, 2, 10, QLatin1Char('0'))
                             .arg(minute, 2, 10, QLatin1Char('0'))
                             .arg(second, 2, 10, QLatin1Char('0'));
    const std::optional<CalendarTime> t = CalendarTime::parse(text);
    checkHeldText(text);
    // QDate has no year 0.
    if (year == 0)
        return;
    const QDate date(year, month, day);
    const QTime time(hour, minute, second);
    FUZZ_CHECK(t.has_value() == (date.isValid() && time.isValid()));
    if (!t)
        return;

    const CalendarTime later = t->plusSeconds(seconds);
    if (later.year < 1)
        return;
    const QDateTime expected = QDateTime(date, time, Qt::UTC).addSecs(seconds);
    FUZZ_CHECK(later.year == expected.date().year() && later.month == expected.date().month() &&
               later.day == expected.date().day() && later.hour == expected.time().hour() &&
               later.minute == expected.time().minute() &&
               later.second == expected.time().second());
    if (later.year <= 9999) {
        FUZZ_CHECK(CalendarTime::parse(later.held()) == later);
        FUZZ_CHECK(addSeconds(text, seconds) == later.held());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* chars = reinterpret_cast<const char*>(data);
    const qsizetype n = static_cast<qsizetype>(size);
    for (const QString& text : {QString::fromLatin1(chars, n), QString::fromUtf8(chars, n)}) {
        checkNumbers(text);
        checkHeldText(text);
    }
    if (size >= sizeof(double)) {
        double value = 0;
        std::memcpy(&value, data, sizeof value);
        checkNumberText(value);
    }
    if (size >= 15)
        checkCalendar(data);
    return 0;
}
