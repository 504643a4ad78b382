#include "cli/ConsoleDialogs.h"

#include "cli/Console.h"

#include <utility>

ConsoleDialogs::ConsoleDialogs(Console& console)
    : m_console(console) {}

void ConsoleDialogs::message(const QString& text, const QString& /*title*/, Icon icon,
                             const QString& detail) {
    // Message boxes break lines with CR and LF; a console message is one line.
    m_console.message(text.simplified());
    if (!detail.isEmpty())
        m_console.message(detail.simplified());
    if (icon == Icon::Critical)
        m_errors << text;
}

bool ConsoleDialogs::confirm(const QString& /*text*/, const QString& /*title*/) {
    return false;
}

std::optional<QString> ConsoleDialogs::input(const QString& /*prompt*/, const QString& /*title*/,
                                             const QString& /*defaultText*/) {
    return std::nullopt;
}

std::optional<QString> ConsoleDialogs::openFile(const QString& /*title*/,
                                                const QString& /*filter*/) {
    return std::nullopt;
}

std::optional<QString> ConsoleDialogs::saveFile(const QString& /*title*/,
                                                const QString& /*filter*/) {
    return std::exchange(m_savePath, std::nullopt);
}
