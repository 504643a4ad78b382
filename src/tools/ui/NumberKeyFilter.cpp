#include "tools/ui/NumberKeyFilter.h"

#include "tools/NumberKeys.h"

#include <QKeyEvent>
#include <QLineEdit>

void NumberKeyFilter::install(QLineEdit& box) {
    box.installEventFilter(new NumberKeyFilter(&box));
}

bool NumberKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->modifiers() & Qt::ControlModifier) || key->key() == Qt::Key_Tab ||
        key->key() == Qt::Key_Backtab)
        return false;
    QString typed = key->text();
    // Enter types "\r"; Backspace may come without its text.
    if (key->key() == Qt::Key_Backspace)
        typed = QStringLiteral("\b");
    if (typed.isEmpty())
        return false;
    return !numberKeyAccepted(typed);
}
