#pragma once

#include "common/Dialogs.h"

#include <QString>

class Settings;

// The program's dialogs: message boxes, input boxes and file dialogs of Qt, over the active
// window. A file dialog starts in the folder of the last file chosen for its kind of file (its
// filter): pictures and record files each keep their own, between runs too with `settings`.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(Settings* settings = nullptr)
        : m_settings(settings) {}

    void message(const QString& text, const QString& title, Icon icon,
                 const QString& detail = {}) override;
    bool confirm(const QString& text, const QString& title) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    std::optional<QString> openFile(const QString& title, const QString& filter) override;
    std::optional<QString> saveFile(const QString& title, const QString& filter) override;

private:
    QString folderFor(const QString& filter) const;
    std::optional<QString> remember(const QString& filter, const QString& path);

    Settings* m_settings;
    QString m_folder;
};

// Message texts break lines with CR LF or LF CR; a Qt label wants a single LF.
QString displayText(const QString& text);
