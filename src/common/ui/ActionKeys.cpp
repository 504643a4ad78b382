#include "common/ui/ActionKeys.h"

#include <QAction>

QString keyedToolTip(const QString& tooltip, const QKeySequence& key) {
    if (key.isEmpty())
        return tooltip;
    return tooltip + QStringLiteral(" (") + key.toString(QKeySequence::NativeText) + u')';
}

void setButtonKey(QAction& action, const QKeySequence& key, const QString& tooltip) {
    action.setShortcut(key);
    action.setToolTip(keyedToolTip(tooltip, key));
}

QKeySequence printKey() {
    return QKeySequence(Qt::CTRL | Qt::Key_P);
}
