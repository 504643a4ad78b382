#pragma once

#include <QPointer>

class AlarmWindow;
class LightWindow;
class SetupWindow;
class StatisticsWindow;
class WindowOwner;
struct AppContext;

// The main window's "Light" button: sets LightOn and opens the luminous intensity window below
// the main window; does nothing while one is open. Returns the window, or null when the button
// did nothing.
QPointer<LightWindow> openLight(AppContext& context, WindowOwner& owner);

// The "TimeSet" button: refused with a message while the meter logs; otherwise opens the meter
// clock window, modal, with the live poll paused until it closes. The window is shown, not run:
// the caller's event loop drives it. Returns the window, or null when refused.
QPointer<SetupWindow> openSetup(AppContext& context, WindowOwner& owner);

// The "Alarm" button: copies the live unit into AlarmUnit and shows the alarm window, not modal.
// A window already open shows that unit's settings again and comes to the front.
QPointer<AlarmWindow> openAlarm(AppContext& context, WindowOwner& owner);

// The "AVG" button: shows the statistics of the live reading, not modal; a window already open
// comes to the front and keeps its statistics.
QPointer<StatisticsWindow> openStatistics(AppContext& context, WindowOwner& owner);
