#include "tools/AlarmSettings.h"

#include "common/AppContext.h"
#include "common/Dialogs.h"
#include "common/NumberText.h"
#include "common/PauseGate.h"
#include "common/SharedState.h"
#include "link/MeterExchange.h"

namespace {

const QString kLux = QStringLiteral("LUX");
const QString kFc = QStringLiteral("Fc");

} // namespace

QString alarmUnitOf(const QString& unit) {
    return unit.isEmpty() ? kLux : unit;
}

std::optional<AlarmLimits> alarmLimits(const QString& high, const QString& low) {
    const std::optional<double> h = leadingNumberIn(high);
    const std::optional<double> l = leadingNumberIn(low);
    if (!h || !l)
        return std::nullopt;
    if (*l >= *h || *h > kAlarmCeiling || *l < 0)
        return std::nullopt;
    return AlarmLimits{*h, *l};
}

std::optional<AlarmForm> alarmForm(const SharedState& state) {
    if (state.AlarmUnit == kLux)
        return AlarmForm{false, numberText(state.AlarmHighLux), numberText(state.AlarmLowLux)};
    if (state.AlarmUnit == kFc)
        return AlarmForm{true, numberText(state.AlarmHighFc), numberText(state.AlarmLowFc)};
    return std::nullopt;
}

bool enableAlarm(AppContext& context, const QString& high, const QString& low,
                 const std::function<bool()>& cancelled,
                 const std::function<void(bool)>& switching) {
    SharedState& state = context.state;
    const std::optional<AlarmLimits> limits = alarmLimits(high, low);
    if (!limits) {
        context.dialogs.message(kInvalidAlarmSettings, {}, Dialogs::Icon::Critical);
        return false;
    }
    if (state.AlarmUnit == kFc) {
        state.AlarmHighFc = limits->high;
        state.AlarmLowFc = limits->low;
    } else {
        state.AlarmHighLux = limits->high;
        state.AlarmLowLux = limits->low;
    }
    if (alarmUnitOf(state.Unit) != alarmUnitOf(state.AlarmUnit)) {
        if (!context.port)
            return false;
        LinkStatus status = LinkStatus::Ok;
        if (switching)
            switching(true);
        {
            const ScopedPause pause(context.poll);
            MeterExchange exchange(*context.port, context.clock, [&context, &cancelled] {
                return !context.port || (cancelled && cancelled());
            });
            status = exchange.ToggleUnit();
        }
        if (switching)
            switching(false);
        if (status == LinkStatus::NoReply)
            context.dialogs.message(kMeterNotResponding, {}, Dialogs::Icon::Critical);
        if (status != LinkStatus::Ok)
            return false;
    }
    state.AlarmOn = true;
    return true;
}
