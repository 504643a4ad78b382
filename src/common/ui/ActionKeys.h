#pragma once

#include <QKeySequence>
#include <QString>

class QAction;

// The tooltip of a button with a key names the key, "Print (Ctrl+P)"; without one it is the
// tooltip alone.
QString keyedToolTip(const QString& tooltip, const QKeySequence& key);

// Gives a toolbar button its key, which works while the button's window is active, and the
// tooltip that names it. The action's text, the name screen readers read, stays without it.
void setButtonKey(QAction& action, const QKeySequence& key, const QString& tooltip);

// "Print" in the list and chart windows.
QKeySequence printKey();
