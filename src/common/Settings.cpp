#include "common/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <cmath>

Settings::Settings(const QString& path, std::function<void(const QString&)> warn)
    : m_file(std::make_unique<QSettings>(path, QSettings::IniFormat))
    , m_warn(std::move(warn)) {
    check();
}

Settings::~Settings() = default;

QString fileKindKey(const QString& filter) {
    QString kind;
    for (const QChar c : filter) {
        if (c.isLetterOrNumber() && c.unicode() < 128)
            kind += c;
    }
    return SettingKeys::kFolders + (kind.isEmpty() ? QStringLiteral("any") : kind);
}

QString Settings::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/luxlog/luxlog.conf");
}

QVariant Settings::value(const QString& key) const {
    return m_usable ? m_file->value(key) : QVariant();
}

std::optional<double> Settings::number(const QString& key, double low, double high) const {
    bool ok = false;
    const double n = value(key).toDouble(&ok);
    if (!ok || !std::isfinite(n) || n < low || n > high)
        return std::nullopt;
    return n;
}

void Settings::setValue(const QString& key, const QVariant& value) {
    if (!m_usable)
        return;
    m_file->setValue(key, value);
    m_file->sync();
    check();
}

void Settings::clear() {
    m_usable = true;
    m_file->clear();
    m_file->sync();
    check();
}

void Settings::check() {
    const QSettings::Status status = m_file->status();
    if (status == QSettings::NoError)
        return;
    const QString path = QDir::toNativeSeparators(m_file->fileName());
    QString reason;
    if (status == QSettings::FormatError) {
        // Nothing from a damaged file is trusted, and it is not written over: the user may
        // want to look at it.
        m_usable = false;
        reason = QStringLiteral("the settings file %1 is damaged; luxlog starts with its usual "
                                "settings and keeps none this time")
                     .arg(path);
    } else {
        reason = QStringLiteral("the settings file %1 cannot be written (%2); luxlog goes on "
                                "without keeping its settings")
                     .arg(path, QFileInfo(path).dir().exists() ? QStringLiteral("no permission")
                                                               : QStringLiteral("no folder"));
    }
    if (!m_warned && m_warn)
        m_warn(QStringLiteral("luxlog: ") + reason);
    m_warned = true;
}
