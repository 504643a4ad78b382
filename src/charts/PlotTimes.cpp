#include "charts/PlotTimes.h"

#include "charts/TimeAxis.h"
#include "records/RecordTableModel.h"

#include <algorithm>
#include <cmath>
#include <limits>

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
    for (size_t row = m_times.size() + 1; row <= rows; ++row) {
        const auto t = shownTimeSeconds(
            records.cellView(static_cast<int>(row), RecordTableModel::kTimeColumn));
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
