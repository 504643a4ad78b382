#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <map>

class WindowPlaces;

// Keeps track of the secondary windows by name ("RealTimeList", "Memory", ...): at most one
// open window per name, and every one of them closed when the program ends. A window deletes
// itself once closed; the owner only forgets it.
class WindowOwner {
public:
    WindowOwner() = default;
    WindowOwner(const WindowOwner&) = delete;
    WindowOwner& operator=(const WindowOwner&) = delete;

    // The newest window open under `name` (shown and not closed), or null.
    QWidget* open(const QString& name) const;
    template <typename W> W* open(const QString& name) const {
        return qobject_cast<W*>(open(name));
    }

    // Takes a new window under `name`. A window still open under that name is closed first
    // unless `keepOpen` is set (an ended live list stays on screen while a new one starts).
    void adopt(const QString& name, QWidget* window, bool keepOpen = false);

    // The one entry of every "open" command that shows at most one window of a kind: the window
    // open under `name` comes to the front; otherwise `create` makes one, which the owner takes
    // and `show` shows. Returns the window.
    template <typename W>
    W* openOrRaise(
        const QString& name, const std::function<W*()>& create,
        const std::function<void(W&)>& show = [](W& w) { w.show(); }) {
        if (W* shown = open<W>(name)) {
            shown->raise();
            shown->activateWindow();
            return shown;
        }
        W* window = create();
        adopt(name, window);
        show(*window);
        return window;
    }

    // Windows taken from now on open where the user last left them.
    void placeWith(WindowPlaces* places) { m_places = places; }

    // Closes the window open under `name`, if any.
    void close(const QString& name);
    // Closes every window the owner has taken, open or kept.
    void closeAll();

private:
    std::multimap<QString, QPointer<QWidget>> m_windows;
    WindowPlaces* m_places = nullptr;
};
