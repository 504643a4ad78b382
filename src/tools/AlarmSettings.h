#pragma once

#include <QString>
#include <functional>
#include <optional>

struct AppContext;
struct SharedState;

inline const QString kInvalidAlarmSettings = QStringLiteral("Invalid settings, try again!");
// The same bounds hold for LUX and Fc.
inline constexpr double kAlarmCeiling = 20000;

// The unit an alarm unit or a live unit stands for: one not yet known (no frame before the
// alarm window opened) counts as LUX, the window's first option, so that no unit switch is sent
// for it and the alarm does not turn itself off at the first reading.
QString alarmUnitOf(const QString& unit);

struct AlarmLimits {
    double high = 0;
    double low = 0;
};

// The limits typed into High and Low, read by the leading-number rule; nullopt when they are
// not valid settings: a box is empty or holds no leading number ("." or ".." get through the
// key filter), low is not below high, high is above 20000 or low below 0.
std::optional<AlarmLimits> alarmLimits(const QString& high, const QString& low);

// What the alarm window shows when it opens: the option and the limits of AlarmUnit; nullopt
// when AlarmUnit is neither "LUX" nor "Fc", and the window keeps its initial layout.
struct AlarmForm {
    bool fc = false;
    QString high;
    QString low;
};
std::optional<AlarmForm> alarmForm(const SharedState& state);

// "Enable": checks the limits (kInvalidAlarmSettings when they are not valid), stores them for
// AlarmUnit (for LUX, the window's first option, unless it is "Fc"), switches the meter to
// AlarmUnit when the live unit differs, and turns the alarm on. Returns true when the alarm is
// on and the window may close. A silent meter shows kMeterNotResponding and leaves AlarmOn as it
// was, as does `cancelled` (the window closed during the unit switch). `switching` hears when
// the unit switch starts (true) and ends (false).
bool enableAlarm(AppContext& context, const QString& high, const QString& low,
                 const std::function<bool()>& cancelled,
                 const std::function<void(bool)>& switching = {});
