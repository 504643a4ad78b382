#include "charts/TimeAxis.h"

#include "common/CalendarTime.h"
#include "records/RecordTableModel.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

namespace {

// The number of `count` ASCII digits at `at`; -1 when one is not a digit.
int axisDigits(QStringView s, qsizetype at, int count) {
    int value = 0;
    for (qsizetype i = at; i < at + count; ++i) {
        const char16_t c = s[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

QString axisPad(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

constexpr double kDay = 86400;

enum class LabelForm { Time, DayAndTime, Date };

QString axisLabelText(double t, LabelForm form) {
    const CalendarTime c = CalendarTime{1970}.plusSeconds(std::llround(t));
    if (form == LabelForm::Date) {
        return axisPad(c.day) + u'/' + axisPad(c.month) + u'/' +
               QStringLiteral("%1").arg(c.year, 4, 10, QLatin1Char('0'));
    }
    QString time = axisPad(c.hour) + u':' + axisPad(c.minute) + u':' + axisPad(c.second);
    if (form == LabelForm::Time)
        return time;
    return axisPad(c.day) + u'/' + axisPad(c.month) + u' ' + time;
}

} // namespace

std::optional<double> shownTimeSeconds(QStringView shown) {
    const QStringView s = shown.trimmed();
    if (s.size() != 19 || s[2] != u'/' || s[5] != u'/' || s[10] != u' ' || s[13] != u':' ||
        s[16] != u':')
        return std::nullopt;
    CalendarTime c;
    c.day = axisDigits(s, 0, 2);
    c.month = axisDigits(s, 3, 2);
    c.year = axisDigits(s, 6, 4);
    c.hour = axisDigits(s, 11, 2);
    c.minute = axisDigits(s, 14, 2);
    c.second = axisDigits(s, 17, 2);
    if (c.year < 0 || !CalendarTime::isValidDate(c.year, c.month, c.day) || c.hour < 0 ||
        c.hour > 23 || c.minute < 0 || c.minute > 59 || c.second < 0 || c.second > 59)
        return std::nullopt;
    return static_cast<double>(c.secondsSince1970());
}

QString shownTimeText(double seconds) {
    const CalendarTime c = CalendarTime{1970}.plusSeconds(std::llround(seconds));
    return axisPad(c.day) + u'/' + axisPad(c.month) + u'/' +
           QStringLiteral("%1").arg(c.year, 4, 10, QLatin1Char('0')) + u' ' + axisPad(c.hour) +
           u':' + axisPad(c.minute) + u':' + axisPad(c.second);
}

std::vector<double> recordTimes(const RecordTableModel& list, long long first, long long last) {
    first = std::max(first, 0LL);
    last = std::min(last, static_cast<long long>(list.dataRowCount()) - 1);
    std::vector<double> times;
    if (first > last)
        return times;
    times.reserve(static_cast<size_t>(last - first + 1));
    for (long long r = first + 1; r <= last + 1; ++r) {
        const auto t =
            shownTimeSeconds(list.cellView(static_cast<int>(r), RecordTableModel::kTimeColumn));
        times.push_back(t.value_or(std::numeric_limits<double>::quiet_NaN()));
    }
    return times;
}

bool traceJoins(double from, double to, double intervalSeconds) {
    const double step = to - from;
    if (!(step >= 0))
        return false;
    return !(intervalSeconds > 0) || step <= 2 * intervalSeconds;
}

std::vector<TraceRun> traceRuns(std::span<const double> times, double intervalSeconds) {
    std::vector<TraceRun> runs;
    const auto n = static_cast<long long>(times.size());
    long long i = 0;
    while (i < n) {
        if (std::isnan(times[static_cast<size_t>(i)])) {
            ++i;
            continue;
        }
        const long long first = i;
        while (i + 1 < n && traceJoins(times[static_cast<size_t>(i)],
                                       times[static_cast<size_t>(i + 1)], intervalSeconds))
            ++i;
        runs.push_back({first, i});
        ++i;
    }
    return runs;
}

TimeAxisLabels timeAxisLabels(double t0, double t1, double left, double width,
                              const LabelWidth& labelWidth, double gap, double overhangLeft,
                              double overhangRight) {
    // Steps that divide a day fall on the same times every day; longer ones count whole days.
    static constexpr double kSteps[] = {
        1,         2,         5,          10,         15,         30,         60,
        120,       300,       600,        900,        1800,       3600,       7200,
        10800,     21600,     43200,      kDay,       2 * kDay,   5 * kDay,   10 * kDay,
        20 * kDay, 50 * kDay, 100 * kDay, 200 * kDay, 500 * kDay, 1000 * kDay};
    if (!(t1 > t0) || !(width > 0) || !std::isfinite(t0) || !std::isfinite(t1))
        return {};
    const double right = left + width;
    const double pixelsPerSecond = width / (t1 - t0);
    const bool crossesMidnight = std::floor(t0 / kDay) != std::floor(t1 / kDay);
    gap = std::max(gap, 1.0);
    for (const double step : kSteps) {
        // Round times closer than the gap leave no room for two labels; skipping them also
        // bounds the work to width / gap labels a step.
        if (step * pixelsPerSecond < gap)
            continue;
        const LabelForm form = step >= kDay      ? LabelForm::Date
                               : crossesMidnight ? LabelForm::DayAndTime
                                                 : LabelForm::Time;
        TimeAxisLabels result{step, {}};
        double previousRight = -std::numeric_limits<double>::infinity();
        bool overlaps = false;
        // The finest step whose labels all stand apart wins; a step stops being tried at its
        // first overlap, so the finer ones cost a few labels each.
        for (double k = std::ceil(t0 / step); k * step <= t1; ++k) {
            const double t = k * step;
            const double x = left + (t - t0) * pixelsPerSecond;
            QString text = axisLabelText(t, form);
            const double half = labelWidth(text) / 2;
            if (x - half < left - overhangLeft || x + half > right + overhangRight)
                continue;
            if (x - half < previousRight + gap) {
                overlaps = true;
                break;
            }
            previousRight = x + half;
            result.labels.push_back({x, std::move(text)});
        }
        if (!overlaps && !result.labels.empty())
            return result;
    }
    return {};
}

double samplingInterval(const RecordTableModel& list) {
    // Enough steps to outvote the odd gap, few enough to cost nothing on a million records.
    constexpr long long kLooked = 256;
    const std::vector<double> times = recordTimes(list, 0, kLooked);
    std::map<double, int> steps;
    for (size_t i = 1; i < times.size(); ++i) {
        const double step = times[i] - times[i - 1];
        if (step > 0)
            ++steps[step];
    }
    double interval = 0;
    int most = 0;
    for (const auto& [step, count] : steps) {
        if (count >= most) {
            most = count;
            interval = step;
        }
    }
    return interval;
}
