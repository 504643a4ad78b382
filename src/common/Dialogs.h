#pragma once

#include <QString>
#include <optional>

// Every message box, input box, confirmation and file dialog goes through this interface so
// that tests can answer them and check their exact texts.
class Dialogs {
public:
    enum class Icon { None, Critical, Information, Warning };

    virtual ~Dialogs() = default;

    // A message box with an OK button. `detail` is an extra line (for example why a port
    // could not be opened); empty for none.
    virtual void message(const QString& text, const QString& title, Icon icon,
                         const QString& detail = {}) = 0;

    // OK/Cancel; true for OK.
    virtual bool confirm(const QString& text, const QString& title) = 0;

    // An input box; nullopt when cancelled.
    virtual std::optional<QString> input(const QString& prompt, const QString& title,
                                         const QString& defaultText) = 0;

    // Open and save-as dialogs: the full path, or nullopt when cancelled. The save dialog asks
    // before overwriting an existing file.
    virtual std::optional<QString> openFile(const QString& title, const QString& filter) = 0;
    virtual std::optional<QString> saveFile(const QString& title, const QString& filter) = 0;
};
