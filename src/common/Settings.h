#pragma once

#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>

class QSettings;

// What the program remembers between runs: the last port, the sampling time, the alarm, the
// graph's range, file dialog folders, window places. Each value is written as it changes, so a
// program that is killed keeps it. A damaged or unwritable file never stops the program: it
// reads as empty (the usual start-up values hold) and the reason is said once. luxlog-cli has
// none, so scripts stay reproducible.
class Settings {
public:
    // The settings in `path`; `warn` hears a reason once (standard error in the program).
    explicit Settings(const QString& path, std::function<void(const QString&)> warn = {});
    ~Settings();
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;

    // ~/.config/luxlog/luxlog.conf, or under XDG_CONFIG_HOME where that is set.
    static QString defaultPath();

    // The value under `key`, or an invalid one when it was never set or the file is unusable.
    QVariant value(const QString& key) const;
    // A number under `key` within [low, high]; nothing for a missing or unusable value.
    std::optional<double> number(const QString& key, double low, double high) const;
    void setValue(const QString& key, const QVariant& value);
    // Forgets everything (--reset-settings).
    void clear();

private:
    void check();

    std::unique_ptr<QSettings> m_file;
    std::function<void(const QString&)> m_warn;
    bool m_usable = true;
    bool m_warned = false;
};

// Keys shared between the places that write and read them.
namespace SettingKeys {
inline const QString kLastPort = QStringLiteral("port/last");
inline const QString kSamplingTime = QStringLiteral("sampling/seconds");
inline const QString kAlarmHighLux = QStringLiteral("alarm/highLux");
inline const QString kAlarmLowLux = QStringLiteral("alarm/lowLux");
inline const QString kAlarmHighFc = QStringLiteral("alarm/highFc");
inline const QString kAlarmLowFc = QStringLiteral("alarm/lowFc");
inline const QString kAlarmUnit = QStringLiteral("alarm/unit");
inline const QString kAlarmOn = QStringLiteral("alarm/on");
inline const QString kGraphRange = QStringLiteral("graph/range");
inline const QString kGraphTop = QStringLiteral("graph/top");
inline const QString kGraphBottom = QStringLiteral("graph/bottom");
inline const QString kGraphStep = QStringLiteral("graph/step");
// Followed by the kind of file ("folders/...") or the window's name ("windows/...").
inline const QString kFolders = QStringLiteral("folders/");
inline const QString kWindows = QStringLiteral("windows/");
} // namespace SettingKeys

// The key of the folder kept for a kind of file, named by its file dialog filter
// ("Text Files (*.txt)" is "folders/TextFilestxt").
QString fileKindKey(const QString& filter);
