#include "support/ScriptedDialogs.h"

namespace {

template <typename T> T pop(std::deque<T>& queue, T fallback) {
    if (queue.empty())
        return fallback;
    T front = std::move(queue.front());
    queue.pop_front();
    return front;
}

} // namespace

void ScriptedDialogs::open(Shown shownDialog) {
    shown.push_back(std::move(shownDialog));
    if (whileOpen)
        whileOpen();
}

void ScriptedDialogs::message(const QString& text, const QString& title, Icon icon,
                              const QString& detail) {
    open({QStringLiteral("message"), text, title, icon, detail, {}});
}

bool ScriptedDialogs::confirm(const QString& text, const QString& title) {
    open({QStringLiteral("confirm"), text, title, Icon::None, {}, {}});
    return pop(confirmAnswers, false);
}

std::optional<QString> ScriptedDialogs::input(const QString& prompt, const QString& title,
                                              const QString& defaultText) {
    open({QStringLiteral("input"), prompt, title, Icon::None, {}, defaultText});
    return pop(inputAnswers, std::optional<QString>());
}

std::optional<QString> ScriptedDialogs::openFile(const QString& title, const QString& filter) {
    open({QStringLiteral("open"), filter, title, Icon::None, {}, {}});
    return pop(openAnswers, std::optional<QString>());
}

std::optional<QString> ScriptedDialogs::saveFile(const QString& title, const QString& filter) {
    open({QStringLiteral("save"), filter, title, Icon::None, {}, {}});
    return pop(saveAnswers, std::optional<QString>());
}

QStringList ScriptedDialogs::messages() const {
    QStringList out;
    for (const Shown& s : shown) {
        if (s.kind == QStringLiteral("message"))
            out << s.text;
    }
    return out;
}
