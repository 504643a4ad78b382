#include "common/ui/WindowPlaces.h"

#include "common/Settings.h"

#include <QEvent>
#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {

const char* const kPlaced = "luxlogPlaced";

// Enough of the title bar on some screen to grab the window by.
bool onSomeScreen(const QRect& frame) {
    const QRect grip(frame.topLeft(), QSize(std::min(frame.width(), 80), 20));
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().intersected(grip).width() >= std::min(grip.width(), 40))
            return true;
    }
    return false;
}

bool resizable(const QWidget* window) {
    return window->minimumSize() != window->maximumSize();
}

} // namespace

WindowPlaces::WindowPlaces(Settings* settings, QObject* parent)
    : QObject(parent)
    , m_settings(settings) {
    m_rest.setSingleShot(true);
    m_rest.setInterval(400);
    connect(&m_rest, &QTimer::timeout, this, &WindowPlaces::keepMoved);
}

void WindowPlaces::track(QWidget* window) {
    if (!m_settings || !window || window->objectName().isEmpty())
        return;
    window->installEventFilter(this);
    if (window->isVisible())
        place(window);
}

bool WindowPlaces::eventFilter(QObject* watched, QEvent* event) {
    auto* window = qobject_cast<QWidget*>(watched);
    if (window && window->isWindow()) {
        switch (event->type()) {
        case QEvent::Show:
            place(window);
            break;
        case QEvent::Move:
        case QEvent::Resize:
            if (window->isVisible() && window->property(kPlaced).toBool()) {
                if (std::find(m_moved.begin(), m_moved.end(), window) == m_moved.end())
                    m_moved.emplace_back(window);
                m_rest.start();
            }
            break;
        case QEvent::Hide:
            keepMoved();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void WindowPlaces::place(QWidget* window) {
    if (window->property(kPlaced).toBool())
        return;
    window->setProperty(kPlaced, true);
    const QRect kept = m_settings->value(SettingKeys::kWindows + window->objectName()).toRect();
    if (!kept.isValid())
        return;
    if (!onSomeScreen(QRect(kept.topLeft(), window->frameGeometry().size())))
        return;
    window->move(kept.topLeft());
    if (resizable(window))
        window->resize(kept.size());
}

void WindowPlaces::keepMoved() {
    m_rest.stop();
    for (const QPointer<QWidget>& window : m_moved) {
        if (window) {
            m_settings->setValue(SettingKeys::kWindows + window->objectName(),
                                 QRect(window->frameGeometry().topLeft(), window->size()));
        }
    }
    m_moved.clear();
}
