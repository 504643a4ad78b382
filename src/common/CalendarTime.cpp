#include "common/CalendarTime.h"

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's civil algorithm).
qint64 daysFromCivil(qint64 y, unsigned m, unsigned d) {
    y -= m <= 2;
    const qint64 era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<qint64>(doe) - 719468;
}

void civilFromDays(qint64 z, int& year, int& month, int& day) {
    z += 719468;
    const qint64 era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<qint64>(yoe) + era * 400 + (month <= 2));
}

int twoDigits(QStringView s, qsizetype at, bool& ok) {
    const QChar a = s[at], b = s[at + 1];
    if (!a.isDigit() || !b.isDigit() || a.unicode() > 127 || b.unicode() > 127) {
        ok = false;
        return 0;
    }
    return (a.unicode() - '0') * 10 + (b.unicode() - '0');
}

QString pad2(int v) {
    return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}

} // namespace

bool CalendarTime::isValidDate(int year, int month, int day) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1)
        return false;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int last = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
    return day <= last;
}

std::optional<CalendarTime> CalendarTime::parse(QStringView held) {
    if (held.size() != 19 || held[4] != u'/' || held[7] != u'/' || held[10] != u' ' ||
        held[13] != u':' || held[16] != u':')
        return std::nullopt;
    bool ok = true;
    CalendarTime t;
    t.year = twoDigits(held, 0, ok) * 100 + twoDigits(held, 2, ok);
    t.month = twoDigits(held, 5, ok);
    t.day = twoDigits(held, 8, ok);
    t.hour = twoDigits(held, 11, ok);
    t.minute = twoDigits(held, 14, ok);
    t.second = twoDigits(held, 17, ok);
    if (!ok || !isValidDate(t.year, t.month, t.day) || t.hour > 23 || t.minute > 59 ||
        t.second > 59)
        return std::nullopt;
    return t;
}

QString CalendarTime::held() const {
    return QStringLiteral("%1/%2/%3 %4:%5:%6")
        .arg(year, 4, 10, QLatin1Char('0'))
        .arg(pad2(month), pad2(day), pad2(hour), pad2(minute), pad2(second));
}

QString CalendarTime::shown() const {
    return shownFromHeld(held());
}

qint64 CalendarTime::secondsSince1970() const {
    return daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) * 86400 +
           qint64{hour} * 3600 + qint64{minute} * 60 + second;
}

CalendarTime CalendarTime::plusSeconds(qint64 seconds) const {
    const qint64 total = secondsSince1970() + seconds;
    qint64 days = total / 86400;
    qint64 rest = total % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    CalendarTime t;
    civilFromDays(days, t.year, t.month, t.day);
    t.hour = static_cast<int>(rest / 3600);
    t.minute = static_cast<int>(rest / 60 % 60);
    t.second = static_cast<int>(rest % 60);
    return t;
}

QString shownFromHeld(const QString& held) {
    return held.mid(8, 2) + u'/' + held.mid(5, 2) + u'/' + held.mid(0, 4) + held.mid(10, 9);
}

std::optional<QString> addSeconds(const QString& held, qint64 seconds) {
    const auto t = CalendarTime::parse(held);
    if (!t)
        return std::nullopt;
    return t->plusSeconds(seconds).held();
}
