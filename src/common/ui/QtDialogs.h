#pragma once

#include "common/Dialogs.h"

#include <QString>

// The program's dialogs: message boxes, input boxes and file dialogs of Qt, over the active
// window. The file dialogs start in the folder of the last file chosen.
class QtDialogs : public Dialogs {
public:
    void message(const QString& text, const QString& title, Icon icon,
                 const QString& detail = {}) override;
    bool confirm(const QString& text, const QString& title) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    std::optional<QString> openFile(const QString& title, const QString& filter) override;
    std::optional<QString> saveFile(const QString& title, const QString& filter) override;

private:
    std::optional<QString> remember(const QString& path);

    QString m_folder;
};

// Message texts break lines with CR LF or LF CR; a Qt label wants a single LF.
QString displayText(const QString& text);
