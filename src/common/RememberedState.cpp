#include "common/RememberedState.h"

#include "common/Settings.h"
#include "common/SharedState.h"

namespace {

constexpr double kMaxLimit = 1e9;

QString rangeKey(const LiveReading& live) {
    return rangeText(live.Range) + u' ' + live.Unit;
}

} // namespace

void recallStartValues(SharedState& state, const Settings* settings) {
    if (!settings)
        return;
    using namespace SettingKeys;
    if (const auto seconds = settings->number(kSamplingTime, 1, 86400))
        state.SamplingTime = static_cast<float>(*seconds);
    const auto highLux = settings->number(kAlarmHighLux, -kMaxLimit, kMaxLimit);
    const auto lowLux = settings->number(kAlarmLowLux, -kMaxLimit, kMaxLimit);
    const auto highFc = settings->number(kAlarmHighFc, -kMaxLimit, kMaxLimit);
    const auto lowFc = settings->number(kAlarmLowFc, -kMaxLimit, kMaxLimit);
    // Limits come as pairs, or not at all.
    if (highLux && lowLux) {
        state.AlarmHighLux = *highLux;
        state.AlarmLowLux = *lowLux;
    }
    if (highFc && lowFc) {
        state.AlarmHighFc = *highFc;
        state.AlarmLowFc = *lowFc;
    }
    const QString unit = settings->value(kAlarmUnit).toString();
    if (unit == u"LUX" || unit == u"Fc") {
        state.AlarmUnit = unit;
        state.AlarmOn = settings->value(kAlarmOn).toBool();
    }
}

void rememberSamplingTime(const RecordingState& state, Settings* settings) {
    if (settings)
        settings->setValue(SettingKeys::kSamplingTime, state.SamplingTime);
}

void rememberAlarm(const AlarmState& state, Settings* settings) {
    if (!settings)
        return;
    using namespace SettingKeys;
    settings->setValue(kAlarmHighLux, state.AlarmHighLux);
    settings->setValue(kAlarmLowLux, state.AlarmLowLux);
    settings->setValue(kAlarmHighFc, state.AlarmHighFc);
    settings->setValue(kAlarmLowFc, state.AlarmLowFc);
    settings->setValue(kAlarmUnit, state.AlarmUnit);
    settings->setValue(kAlarmOn, state.AlarmOn);
}

void rememberGraphRange(const GraphState& graph, const LiveReading& live, Settings* settings) {
    if (!settings)
        return;
    using namespace SettingKeys;
    settings->setValue(kGraphRange, rangeKey(live));
    settings->setValue(kGraphTop, graph.GraphTop);
    settings->setValue(kGraphBottom, graph.GraphBottom);
    settings->setValue(kGraphStep, graph.GraphStep);
}

void recallGraphRange(GraphState& graph, const LiveReading& live, const Settings* settings) {
    if (!settings || !live.Range || settings->value(SettingKeys::kGraphRange) != rangeKey(live))
        return;
    using namespace SettingKeys;
    const auto top = settings->number(kGraphTop, graph.GraphMin, graph.GraphMax);
    const auto bottom = settings->number(kGraphBottom, graph.GraphMin, graph.GraphMax);
    const auto step = settings->number(kGraphStep, 1e-9, 1e9);
    if (!top || !bottom || !step || !(*top > *bottom))
        return;
    graph.GraphTop = *top;
    graph.GraphBottom = *bottom;
    graph.GraphStep = *step;
}
