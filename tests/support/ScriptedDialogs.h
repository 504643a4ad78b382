#pragma once

#include "common/Dialogs.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

// Answers dialogs from queues and records what was asked, with the exact texts.
class ScriptedDialogs : public Dialogs {
public:
    struct Shown {
        QString kind; // "message", "confirm", "input", "open", "save"
        QString text;
        QString title;
        Icon icon = Icon::None;
        QString detail;
        QString defaultText;
    };

    void message(const QString& text, const QString& title, Icon icon,
                 const QString& detail = {}) override;
    bool confirm(const QString& text, const QString& title) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    std::optional<QString> openFile(const QString& title, const QString& filter) override;
    std::optional<QString> saveFile(const QString& title, const QString& filter) override;

    // Answers in order; an empty queue answers Cancel (nullopt / false).
    std::deque<bool> confirmAnswers;
    std::deque<std::optional<QString>> inputAnswers;
    std::deque<std::optional<QString>> openAnswers;
    std::deque<std::optional<QString>> saveAnswers;

    // Runs while each dialog is "open", before it answers: a test keeps the event loop going
    // here for as long as a user would look at the dialog.
    std::function<void()> whileOpen;

    std::vector<Shown> shown;
    // Texts of the message boxes shown, in order.
    QStringList messages() const;

private:
    void open(Shown shownDialog);
};
