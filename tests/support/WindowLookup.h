#pragma once

#include <QAction>
#include <QCoreApplication>
#include <QWidget>
#include <gtest/gtest.h>

// A window's child widget by its object name; null when there is none.
template <typename W> W* child(QWidget* window, const char* name) {
    return window->findChild<W*>(QString::fromLatin1(name));
}

// Triggers a window's toolbar action by its key, as a click on its button does.
inline void click(QWidget* window, const char* key) {
    QAction* action = window->findChild<QAction*>(QString::fromLatin1(key));
    ASSERT_NE(action, nullptr) << key;
    action->trigger();
}

// Deletes the windows that closed themselves (deleteLater) before the test looks again.
inline void settleDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
