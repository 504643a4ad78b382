#include "records/ExportEncoder.h"

#include "common/CalendarTime.h"
#include "records/RecordTableModel.h"

#include <QDateTime>
#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr int kNumberCell = 0;
constexpr int kBatteryCell = 3;
// A stretch of one offset is used this far from its ends only: no change of offset is as
// large, so no local time near a change (in its gap or twice over) is taken from it.
constexpr qint64 kStretchMargin = qint64{2} * 86400;
// The most a usual row adds to its cells and the header's parts: keys, quotes, the time's
// rearranged 19 characters (twice in CSV) and its offset, "false".
constexpr qsizetype kLongestFixedParts = 80;
// Whole numbers and readings of this many digits read back as the same digits.
constexpr qsizetype kExactDigits = 15;

// The characters QString::trimmed() takes away, among Latin-1's.
bool isSpace(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u == ' ' || (u >= '\t' && u <= '\r') || u == 0x85 || u == 0xa0;
}

QLatin1StringView trimmed(QLatin1StringView text) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    while (begin != end && isSpace(*begin))
        ++begin;
    while (end != begin && isSpace(end[-1]))
        --end;
    return {begin, end};
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Digits only, no leading zero: the number as jsonLine() writes it.
bool isPlainWholeNumber(QLatin1StringView text) {
    return !text.isEmpty() && text.size() <= kExactDigits &&
           (text.front() != '0' || text.size() == 1) &&
           std::all_of(text.begin(), text.end(), isDigit);
}

// Printable ASCII that neither CSV nor JSON has to quote or escape.
bool isPlainText(QLatin1StringView text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        return c >= ' ' && c <= '~' && c != ',' && c != '"' && c != '\\';
    });
}

enum class Reading { NoNumber, SameDigits, Other };

// How the export writes a reading's value: none (no digit at all, as "OL"), the reading's own
// digits, or something only the general way knows. A number's shortest text is its digits when
// it has at most 15 of them, no zero the shortest form drops, and few enough zeros that the
// exponent form would not be shorter.
Reading readingForm(QLatin1StringView text) {
    if (std::none_of(text.begin(), text.end(), isDigit))
        return Reading::NoNumber;
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    const QLatin1StringView whole = point < 0 ? text : text.first(point);
    const QLatin1StringView fraction = point < 0 ? QLatin1StringView() : text.sliced(point + 1);
    const bool digitsOnly = std::all_of(whole.begin(), whole.end(), isDigit) &&
                            std::all_of(fraction.begin(), fraction.end(), isDigit);
    if (!digitsOnly || whole.isEmpty() || (whole.size() > 1 && whole.front() == '0') ||
        (point >= 0 && (fraction.isEmpty() || fraction.back() == '0')) ||
        text.size() - (point >= 0 ? 1 : 0) > kExactDigits)
        return Reading::Other;
    if (point < 0) {
        // "10000" stays, "100000" would be written 1e+05.
        const auto zeros =
            std::find_if(whole.rbegin(), whole.rend(), [](char c) { return c != '0'; }) -
            whole.rbegin();
        return whole == QLatin1StringView("0") || zeros <= 4 ? Reading::SameDigits : Reading::Other;
    }
    if (whole != QLatin1StringView("0"))
        return Reading::SameDigits;
    // "0.001" stays, "0.0001" would be written 1e-04.
    const auto zeros =
        std::find_if(fraction.begin(), fraction.end(), [](char c) { return c != '0'; }) -
        fraction.begin();
    return zeros <= 2 ? Reading::SameDigits : Reading::Other;
}

int twoDigitsAt(const char* text, qsizetype at) {
    const char a = text[at];
    const char b = text[at + 1];
    return isDigit(a) && isDigit(b) ? (a - '0') * 10 + (b - '0') : -1;
}

// "DD/MM/YYYY hh:nn:ss" as isoTime() takes it; nullopt for any other text.
std::optional<CalendarTime> shownTime(QLatin1StringView shown) {
    const char* const text = shown.data();
    if (shown.size() != 19 || text[2] != '/' || text[5] != '/' || text[10] != ' ' ||
        text[13] != ':' || text[16] != ':')
        return std::nullopt;
    const int century = twoDigitsAt(text, 6);
    const int year = twoDigitsAt(text, 8);
    CalendarTime t;
    t.day = twoDigitsAt(text, 0);
    t.month = twoDigitsAt(text, 3);
    t.hour = twoDigitsAt(text, 11);
    t.minute = twoDigitsAt(text, 14);
    t.second = twoDigitsAt(text, 17);
    if (century < 0 || year < 0 || t.hour < 0 || t.minute < 0 || t.second < 0)
        return std::nullopt;
    t.year = century * 100 + year;
    if (!CalendarTime::isValidDate(t.year, t.month, t.day) || t.hour > 23 || t.minute > 59 ||
        t.second > 59)
        return std::nullopt;
    return t;
}

} // namespace

ExportEncoder::ExportEncoder(const ListHeader& header, ExportForm form, const QTimeZone& zone)
    : m_header(header)
    , m_form(form)
    , m_zone(zone) {
    const QString range = header.range ? QString::number(*header.range) : QString();
    if (form == ExportForm::Csv) {
        m_afterReading = (u',' + csvField(header.unit) + u',' + range + u',').toUtf8();
        m_afterBattery = (u',' + csvField(header.meterId)).toUtf8();
    } else {
        m_afterReading =
            (QStringLiteral(",\"unit\":") + jsonString(header.unit) +
             QStringLiteral(",\"range\":") + (header.range ? range : QStringLiteral("null")) +
             QStringLiteral(",\"battery_low\":"))
                .toUtf8();
        m_afterBattery =
            (QStringLiteral(",\"meter_id\":") +
             (header.meterId.isEmpty() ? QStringLiteral("null") : jsonString(header.meterId)) +
             u'}')
                .toUtf8();
    }
}

QByteArray ExportEncoder::headerLine() const {
    return m_form == ExportForm::Csv ? csvHeader().toUtf8() : QByteArray();
}

void ExportEncoder::appendRow(QByteArray& out, const RecordTableModel& list, int row) {
    if (appendUsualRow(out, list, row))
        return;
    const ExportRow general = exportRow(list, row, m_header, m_zone);
    out.append((m_form == ExportForm::Csv ? csvLine(general) : jsonLine(general)).toUtf8());
}

bool ExportEncoder::appendUsualRow(QByteArray& out, const RecordTableModel& list, int row) {
    const QLatin1StringView number = trimmed(list.cellText(row, kNumberCell));
    const QLatin1StringView time = trimmed(list.cellText(row, RecordTableModel::kTimeColumn));
    const QLatin1StringView reading = trimmed(list.cellText(row, RecordTableModel::kValueColumn));
    const std::optional<CalendarTime> t = shownTime(time);
    const Reading form = readingForm(reading);
    if (!isPlainWholeNumber(number) || !t || !isPlainText(reading) || form == Reading::Other ||
        !findOffset(*t))
        return false;
    const bool low = trimmed(list.cellText(row, kBatteryCell)) == QLatin1StringView("Low");
    const bool csv = m_form == ExportForm::Csv;

    // Room for the longest line these parts make, filled in place and cut to what was written.
    const qsizetype start = out.size();
    out.resize(start + number.size() + 2 * reading.size() + m_afterReading.size() +
               m_afterBattery.size() + kLongestFixedParts);
    char* const begin = out.data() + start;
    char* at = begin;
    const auto put = [&at](QLatin1StringView text) {
        if (!text.isEmpty())
            std::memcpy(at, text.data(), static_cast<size_t>(text.size()));
        at += text.size();
    };
    put(QLatin1StringView(csv ? "" : "{\"number\":"));
    put(number);
    put(QLatin1StringView(csv ? "," : ",\"time\":\""));
    // "22/06/2010 14:05:09" as "2010-06-22T14:05:09" and the offset.
    const auto putLocalTime = [&] {
        put(time.sliced(6, 4));
        *at++ = '-';
        put(time.sliced(3, 2));
        *at++ = '-';
        put(time.first(2));
        *at++ = 'T';
        put(time.sliced(11));
    };
    putLocalTime();
    put(QLatin1StringView(m_offsetText.data(), qsizetype(m_offsetText.size())));
    put(QLatin1StringView(csv ? "," : "\",\"value\":"));
    if (form == Reading::SameDigits)
        put(reading);
    else if (!csv)
        put(QLatin1StringView("null"));
    put(QLatin1StringView(csv ? "," : ",\"reading\":\""));
    put(reading);
    if (!csv)
        *at++ = '"';
    put(QLatin1StringView(m_afterReading));
    put(QLatin1StringView(low ? "true" : "false"));
    put(QLatin1StringView(m_afterBattery));
    if (csv) {
        *at++ = ',';
        putLocalTime();
    }
    out.resize(start + (at - begin));
    return true;
}

bool ExportEncoder::findOffset(const CalendarTime& local) {
    const qint64 seconds = local.secondsSince1970();
    if (seconds >= m_from && seconds < m_to)
        return true;
    // QDate has no year 0.
    if (local.year < 1)
        return false;
    const QDateTime at(QDate(local.year, local.month, local.day),
                       QTime(local.hour, local.minute, local.second), m_zone);
    if (!at.isValid())
        return false;
    const int offset = m_zone.offsetFromUtc(at);
    const QChar sign = offset < 0 ? u'-' : u'+';
    const int minutes = std::abs(offset) / 60;
    const QByteArray text = QStringLiteral("%1%2:%3")
                                .arg(sign)
                                .arg(minutes / 60, 2, 10, QLatin1Char('0'))
                                .arg(minutes % 60, 2, 10, QLatin1Char('0'))
                                .toLatin1();
    if (text.size() != qsizetype(m_offsetText.size()))
        return false;
    std::copy(text.begin(), text.end(), m_offsetText.begin());

    // The stretch between the zone's changes of offset around this time; none is known for
    // a zone that does not tell its changes, unless it is a fixed offset from UTC.
    constexpr qint64 kNever = std::numeric_limits<qint64>::max() / 2;
    m_from = 0;
    m_to = 0;
    if (m_zone.hasTransitions()) {
        // The change that began this stretch may be at this very instant.
        const QTimeZone::OffsetData before = m_zone.previousTransition(at.addMSecs(1));
        const QTimeZone::OffsetData after = m_zone.nextTransition(at);
        if (before.atUtc.isValid() && before.offsetFromUtc != offset)
            return true;
        m_from = before.atUtc.isValid() ? before.atUtc.toSecsSinceEpoch() + offset + kStretchMargin
                                        : -kNever;
        m_to = after.atUtc.isValid() ? after.atUtc.toSecsSinceEpoch() + offset - kStretchMargin
                                     : kNever;
    } else if (m_zone.id().startsWith("UTC")) {
        m_from = -kNever;
        m_to = kNever;
    }
    return true;
}
