#include "charts/PlotExplorer.h"

#include "charts/SpanStatistics.h"
#include "charts/TimeAxis.h"
#include "common/SharedState.h"

#include <algorithm>
#include <cmath>

void PlotExplorer::follow(const PlotState& state) {
    if (state.PlotFirst == m_shownFirst && state.PlotLast == m_shownLast)
        return;
    m_wholeFirst = std::llround(state.PlotFirst);
    m_zoom = PlotZoom(std::max(0LL, std::llround(state.PlotLast) - m_wholeFirst + 1));
    m_shownFirst = state.PlotFirst;
    m_shownLast = state.PlotLast;
    m_interval = -1;
}

SpanStatistics PlotExplorer::statistics(const RecordTableModel& records, const SharedState& state) {
    if (m_interval < 0)
        m_interval = samplingInterval(records);
    return spanStatistics(records, std::llround(state.PlotFirst) - 1,
                          std::llround(state.PlotLast) - 1, m_interval, state.PlotUnit,
                          alarmLimitsFor(state, state.PlotUnit));
}

bool PlotExplorer::show(PlotState& state) {
    if (m_zoom.count() < 1)
        return false;
    const PlotView& view = m_zoom.view();
    const long long first = m_wholeFirst + static_cast<long long>(std::floor(view.firstShown));
    const long long last = m_wholeFirst + static_cast<long long>(std::ceil(view.lastShown));
    if (first == std::llround(state.PlotFirst) && last == std::llround(state.PlotLast))
        return false;
    state.PlotFirst = static_cast<double>(first);
    state.PlotLast = static_cast<double>(last);
    state.PlotCount = static_cast<double>(last - first + 1);
    m_shownFirst = state.PlotFirst;
    m_shownLast = state.PlotLast;
    return true;
}

double PlotExplorer::positionAt(const PlotState& state, double x) const {
    // The plot puts its first record on the value axis and steps PlotStep a record.
    const double step = state.PlotStep > 0 ? state.PlotStep : 1;
    return state.PlotFirst - static_cast<double>(m_wholeFirst) +
           (x - state.PlotLayout.AxisX) / step;
}

QString PlotExplorer::caption(const QString& base, const PlotState& state) const {
    if (m_zoom.showsWhole())
        return base;
    return base.trimmed() + QStringLiteral(" - records %1 to %2 of %3")
                                .arg(std::llround(state.PlotFirst))
                                .arg(std::llround(state.PlotLast))
                                .arg(m_zoom.count());
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
