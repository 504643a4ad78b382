#include "charts/PlotExplorer.h"

#include "charts/PlotTimes.h"
#include "charts/SpanStatistics.h"
#include "charts/TimeAxis.h"
#include "common/SharedState.h"

#include <algorithm>
#include <cmath>

void PlotExplorer::takeWhole(long long first, long long last) {
    m_wholeFirst = first;
    m_wholeLast = last;
    if (!m_times) {
        m_zoom = PlotZoom(std::max(0LL, last - first + 1));
        return;
    }
    m_wholeTime = m_times->firstTime(first, last);
    const double latest = m_times->latestTime(first, last);
    m_zoom = PlotZoom(std::isnan(m_wholeTime) ? 0 : std::llround(latest - m_wholeTime) + 1);
}

void PlotExplorer::follow(PlotState& state) {
    if (state.PlotFirst == m_shownFirst && state.PlotLast == m_shownLast)
        return;
    takeWhole(std::llround(state.PlotFirst) - 1, std::llround(state.PlotLast) - 1);
    m_shownFirst = state.PlotFirst;
    m_shownLast = state.PlotLast;
    m_interval = -1;
    state.PlotZoomed = false;
    if (m_times)
        show(state);
}

bool PlotExplorer::setTimeAxis(bool on, const PlotTimes& times, PlotState& state,
                               double intervalSeconds) {
    if (on == timeAxis())
        return true;
    if (on && !times.anyReadable())
        return false;
    const bool whole = m_zoom.showsWhole();
    const auto [first, last] = recordsInView(state);
    if (on) {
        m_times = &times;
        takeWhole(m_wholeFirst, m_wholeLast);
        if (!whole) {
            m_zoom.select(times.firstTime(first, last) - m_wholeTime,
                          times.latestTime(first, last) - m_wholeTime);
        }
    } else {
        m_times = nullptr;
        takeWhole(m_wholeFirst, m_wholeLast);
        if (!whole)
            m_zoom.select(static_cast<double>(first - m_wholeFirst),
                          static_cast<double>(last - m_wholeFirst));
    }
    state.PlotTimeAxis = on;
    state.PlotInterval = intervalSeconds;
    // Whatever the view's records were, the plot is drawn afresh.
    m_shownFirst = -1;
    m_shownLast = -1;
    show(state);
    return true;
}

std::pair<long long, long long> PlotExplorer::recordsInView(const PlotState& state) const {
    if (!m_times)
        return {std::llround(state.PlotFirst) - 1, std::llround(state.PlotLast) - 1};
    const PlotView& view = m_zoom.view();
    const long long end = m_wholeLast + 1;
    return {m_times->firstReaching(m_wholeTime + view.firstShown, m_wholeFirst, end),
            m_times->firstPast(m_wholeTime + view.lastShown, m_wholeFirst, end) - 1};
}

SpanStatistics PlotExplorer::statistics(const RecordTableModel& records, const SharedState& state) {
    if (m_interval < 0)
        m_interval = samplingInterval(records);
    const auto [first, last] = recordsInView(state);
    return spanStatistics(records, first, last, m_interval, state.PlotUnit,
                          alarmLimitsFor(state, state.PlotUnit));
}

bool PlotExplorer::show(PlotState& state) {
    if (m_zoom.count() < 1)
        return false;
    const PlotView& view = m_zoom.view();
    long long first = 0;
    long long last = 0;
    if (m_times) {
        const auto [inFirst, inLast] = recordsInView(state);
        first = std::max(m_wholeFirst, std::min(inFirst, inLast + 1) - 1) + 1;
        last = std::min(m_wholeLast, std::max(inLast, inFirst - 1) + 1) + 1;
        const double from = m_wholeTime + view.firstShown;
        const double to = m_wholeTime + view.lastShown;
        if (from == state.PlotTimeFrom && to == state.PlotTimeTo &&
            first == std::llround(state.PlotFirst) && last == std::llround(state.PlotLast))
            return false;
        state.PlotTimeFrom = from;
        state.PlotTimeTo = to;
    } else {
        first = m_wholeFirst + 1 + static_cast<long long>(std::floor(view.firstShown));
        last = m_wholeFirst + 1 + static_cast<long long>(std::ceil(view.lastShown));
        if (first == std::llround(state.PlotFirst) && last == std::llround(state.PlotLast))
            return false;
    }
    state.PlotFirst = static_cast<double>(first);
    state.PlotLast = static_cast<double>(last);
    state.PlotCount = static_cast<double>(last - first + 1);
    state.PlotZoomed = !m_zoom.showsWhole();
    m_shownFirst = state.PlotFirst;
    m_shownLast = state.PlotLast;
    return true;
}

double PlotExplorer::positionAt(const PlotState& state, double x) const {
    const double fromAxis = x - state.PlotLayout.AxisX;
    if (m_times) {
        const double width = state.PlotLayout.PlotWidth > 0 ? state.PlotLayout.PlotWidth : 1;
        return state.PlotTimeFrom - m_wholeTime +
               fromAxis / width * (state.PlotTimeTo - state.PlotTimeFrom);
    }
    // The plot puts its first record on the value axis and steps PlotStep a record.
    const double step = state.PlotStep > 0 ? state.PlotStep : 1;
    return state.PlotFirst - 1 - static_cast<double>(m_wholeFirst) + fromAxis / step;
}

QString PlotExplorer::caption(const QString& base, const PlotState& state) const {
    if (m_zoom.showsWhole())
        return base;
    const long long records = m_wholeLast - m_wholeFirst + 1;
    const auto [first, last] = recordsInView(state);
    if (first > last)
        return base.trimmed() + QStringLiteral(" - none of %1 records in view").arg(records);
    return base.trimmed() +
           QStringLiteral(" - records %1 to %2 of %3").arg(first + 1).arg(last + 1).arg(records);
}

SpanLimits alarmLimitsFor(const AlarmState& alarm, const QString& unit) {
    SpanLimits limits;
    if (!alarm.AlarmOn || alarm.AlarmUnit.isEmpty() || unit != alarm.AlarmUnit)
        return limits;
    const bool fc = alarm.AlarmUnit == u"Fc";
    limits.high = fc ? alarm.AlarmHighFc : alarm.AlarmHighLux;
    limits.low = fc ? alarm.AlarmLowFc : alarm.AlarmLowLux;
    return limits;
}
