#include "tools/ui/OpenTools.h"

#include "common/AppContext.h"
#include "common/Dialogs.h"
#include "common/SharedState.h"
#include "common/ui/WindowOwner.h"
#include "tools/MeterClock.h"
#include "tools/ui/AlarmWindow.h"
#include "tools/ui/LightWindow.h"
#include "tools/ui/SetupWindow.h"
#include "tools/ui/StatisticsWindow.h"

namespace {

const QString kLight = QStringLiteral("Light");
const QString kSetup = QStringLiteral("Setup");
const QString kAlarm = QStringLiteral("Alarm");
const QString kStatistics = QStringLiteral("Statistics");

template <typename W> void loadAndShow(W& window) {
    window.Form_Load();
    window.show();
}

} // namespace

QPointer<LightWindow> openLight(AppContext& context, WindowOwner& owner) {
    if (owner.open(kLight))
        return nullptr;
    context.state.LightOn = true;
    auto* window = new LightWindow(context);
    owner.adopt(kLight, window);
    window->Form_Load();
    window->show();
    return window;
}

QPointer<SetupWindow> openSetup(AppContext& context, WindowOwner& owner) {
    if (context.state.MeterRec) {
        context.dialogs.message(kMeterLogging, {}, Dialogs::Icon::Critical);
        return nullptr;
    }
    if (!context.port)
        return nullptr;
    auto* window = new SetupWindow(context);
    owner.adopt(kSetup, window);
    window->Form_Load();
    window->show();
    return window;
}

QPointer<AlarmWindow> openAlarm(AppContext& context, WindowOwner& owner) {
    context.state.AlarmUnit = context.state.Unit;
    // The window shows the option of AlarmUnit, which the button has just set: one still open
    // shows it too, or it would store the limits for a unit it does not show.
    if (auto* open = owner.open<AlarmWindow>(kAlarm))
        open->showAlarmUnit();
    return owner.openOrRaise<AlarmWindow>(
        kAlarm, [&context] { return new AlarmWindow(context); }, loadAndShow<AlarmWindow>);
}

QPointer<StatisticsWindow> openStatistics(AppContext& context, WindowOwner& owner) {
    return owner.openOrRaise<StatisticsWindow>(
        kStatistics, [&context] { return new StatisticsWindow(context); },
        loadAndShow<StatisticsWindow>);
}
