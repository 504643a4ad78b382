#include "panel/LiveDisplay.h"

#include "common/SharedState.h"
#include "link/PollCycle.h"
#include "tools/AlarmSettings.h"

bool readingLostWith(const QString& portLabel) {
    return portLabel == PollCycle::kNoComLabel || portLabel == PollCycle::kGarbledLabel;
}

bool updateLiveDisplay(SharedState& state, LiveDisplay& display) {
    display.full = state.MemFull;
    display.hold = state.HoldOn;
    display.rec = state.MeterRec;
    display.max = state.MaxOn;
    display.fc = state.UnitFlag != 0;
    display.lux = !display.fc;
    display.range = rangeText(state.Range);
    display.battery = state.BatLow;
    display.value = state.Value.text();
    display.stale = false;
    return evaluateAlarm(state, display);
}

bool evaluateAlarm(SharedState& state, LiveDisplay& display) {
    if (!state.AlarmOn) {
        display.over = false;
        display.under = false;
        return false;
    }
    if (alarmUnitOf(state.Unit) != alarmUnitOf(state.AlarmUnit)) {
        // The meter was switched to the other unit: the limits no longer apply.
        state.AlarmOn = false;
        return false;
    }
    if (state.Value.isText() && state.Value.text() == QStringLiteral("OL")) {
        display.over = !display.over;
        display.under = false;
        return false;
    }
    // A reading text that is no plain number (hex digits from a garbled frame) is not compared.
    const std::optional<double> v = state.Value.comparable();
    if (!v)
        return false;
    const bool lux = alarmUnitOf(state.AlarmUnit) == QStringLiteral("LUX");
    const double high = lux ? state.AlarmHighLux : state.AlarmHighFc;
    const double low = lux ? state.AlarmLowLux : state.AlarmLowFc;
    if (*v > high) {
        display.over = !display.over;
        display.under = false;
        return true;
    }
    if (*v < low) {
        display.under = !display.under;
        display.over = false;
        return true;
    }
    display.over = false;
    display.under = false;
    return false;
}
