#pragma once

#include "common/Dialogs.h"

#include <QStringList>

class Console;

// The dialogs of the shared procedures, answered from the command line: messages go to standard
// error, a save dialog answers with the file named on the command line, and whatever would ask
// the user is cancelled.
class ConsoleDialogs : public Dialogs {
public:
    explicit ConsoleDialogs(Console& console);

    void message(const QString& text, const QString& title, Icon icon,
                 const QString& detail = {}) override;
    bool confirm(const QString& text, const QString& title) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    std::optional<QString> openFile(const QString& title, const QString& filter) override;
    std::optional<QString> saveFile(const QString& title, const QString& filter) override;

    // The answer of the next save dialog.
    void answerSaveWith(const QString& path) { m_savePath = path; }
    // The texts of the messages shown with the critical icon, in order.
    const QStringList& errors() const { return m_errors; }

private:
    Console& m_console;
    std::optional<QString> m_savePath;
    QStringList m_errors;
};
