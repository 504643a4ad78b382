#include "charts/ui/RangeBox.h"

#include <QKeyEvent>
#include <QLabel>

RangeBox::RangeBox(const char* name, BoxKeys keys, QWidget* parent)
    : QLineEdit(parent)
    , m_keys(keys) {
    setObjectName(QString::fromLatin1(name));
}

void RangeBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        if (onEnter)
            onEnter();
        return;
    }
    // Shortcuts (a paste among them) are no typed characters.
    const bool shortcut =
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const QString text = event->text();
    if (!shortcut && text.size() == 1 && text[0].isPrint() && !keyPasses(text[0], m_keys)) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

QLabel* captionPanel(const char* name, const QString& caption, QWidget* parent) {
    auto* panel = new QLabel(caption, parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setAlignment(Qt::AlignCenter);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    return panel;
}
