#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <vector>

class Settings;

// Windows open where the user last left them: each tracked window's place (and size, where it
// can be resized) is kept under its object name as it moves, and given back when it next
// shows. A place that lies off every screen now is dropped: the window opens at its usual place.
class WindowPlaces : public QObject {
    Q_OBJECT
public:
    explicit WindowPlaces(Settings* settings, QObject* parent = nullptr);

    // Places `window` where it was last (now if shown, else when it shows) and follows it.
    void track(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void place(QWidget* window);
    void keepMoved();

    Settings* m_settings;
    // A drag moves a window many times a second: its place is written once it came to rest,
    // or when it closes.
    QTimer m_rest;
    std::vector<QPointer<QWidget>> m_moved;
};
