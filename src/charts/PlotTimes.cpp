#include "charts/PlotTimes.h"

#include "charts/TimeAxis.h"
#include "records/RecordTableModel.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace {

// Two ASCII digits at `at`; -1 when either is not one.
int twoDigits(QStringView s, qsizetype at) {
    const char16_t a = s[at].unicode();
    const char16_t b = s[at + 1].unicode();
    if (a < u'0' || a > u'9' || b < u'0' || b > u'9')
        return -1;
    return (a - u'0') * 10 + (b - u'0');
}

// Reads time cells, a day's records sharing their date: the date of one is read in full once,
// the others only as the time of day after it. Gives shownTimeSeconds's value for every text.
class TimeCellReader {
public:
    std::optional<double> read(QStringView cell) {
        const QStringView s = cell.trimmed();
        if (s.size() == 19 && s.left(11) == QStringView(m_date)) {
            const int h = twoDigits(s, 11);
            const int m = twoDigits(s, 14);
            const int sec = twoDigits(s, 17);
            if (s[13] == u':' && s[16] == u':' && h >= 0 && h <= 23 && m >= 0 && m <= 59 &&
                sec >= 0 && sec <= 59)
                return m_dayStart + h * 3600 + m * 60 + sec;
            return std::nullopt;
        }
        const std::optional<double> t = shownTimeSeconds(s);
        if (t) {
            m_date = s.left(11).toString();
            m_dayStart = *t - (twoDigits(s, 11) * 3600 + twoDigits(s, 14) * 60 + twoDigits(s, 17));
        }
        return t;
    }

private:
    QString m_date;
    double m_dayStart = 0;
};

} // namespace

void PlotTimes::update(const RecordTableModel& records) {
    const auto rows = static_cast<size_t>(records.dataRowCount());
    if (rows < m_times.size()) {
        m_times.clear();
        m_reached.clear();
        m_readable = 0;
    }
    m_times.reserve(rows);
    m_reached.reserve(rows);
    double reached =
        m_reached.empty() ? -std::numeric_limits<double>::infinity() : m_reached.back();
    TimeCellReader reader;
    for (size_t row = m_times.size() + 1; row <= rows; ++row) {
        const auto t =
            reader.read(records.cellView(static_cast<int>(row), RecordTableModel::kTimeColumn));
        if (t) {
            ++m_readable;
            reached = std::max(reached, *t);
        }
        m_times.push_back(t.value_or(std::numeric_limits<double>::quiet_NaN()));
        m_reached.push_back(reached);
    }
}

long long PlotTimes::firstReaching(double t, long long from, long long to) const {
    from = std::clamp(from, 0LL, size());
    to = std::clamp(to, from, size());
    const auto begin = m_reached.begin();
    return std::lower_bound(begin + from, begin + to, t) - begin;
}

long long PlotTimes::firstPast(double t, long long from, long long to) const {
    from = std::clamp(from, 0LL, size());
    to = std::clamp(to, from, size());
    const auto begin = m_reached.begin();
    return std::upper_bound(begin + from, begin + to, t) - begin;
}

long long PlotTimes::nearest(double t, long long from, long long to) const {
    from = std::max(from, 0LL);
    to = std::min(to, size() - 1);
    if (from > to)
        return -1;
    const long long at = firstReaching(t, from, to + 1);
    long long best = -1;
    double bestDistance = std::numeric_limits<double>::infinity();
    // The records about the place the time is reached; unreadable ones are passed over, a few
    // at most in a meter's list.
    auto consider = [&](long long i) {
        const double distance = std::abs(m_times[static_cast<size_t>(i)] - t);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    };
    for (long long i = at; i <= to; ++i) {
        if (!std::isnan(m_times[static_cast<size_t>(i)])) {
            consider(i);
            break;
        }
    }
    for (long long i = std::min(at, to + 1) - 1; i >= from; --i) {
        if (!std::isnan(m_times[static_cast<size_t>(i)])) {
            consider(i);
            break;
        }
    }
    return best;
}

double PlotTimes::firstTime(long long from, long long to) const {
    from = std::max(from, 0LL);
    to = std::min(to, size() - 1);
    for (long long i = from; i <= to; ++i) {
        if (!std::isnan(m_times[static_cast<size_t>(i)]))
            return m_times[static_cast<size_t>(i)];
    }
    return std::numeric_limits<double>::quiet_NaN();
}

double PlotTimes::latestTime(long long from, long long to) const {
    from = std::max(from, 0LL);
    to = std::min(to, size() - 1);
    double latest = std::numeric_limits<double>::quiet_NaN();
    for (long long i = from; i <= to; ++i) {
        const double t = m_times[static_cast<size_t>(i)];
        if (!std::isnan(t) && (std::isnan(latest) || t > latest))
            latest = t;
    }
    return latest;
}
