#include "common/ui/SecondaryWindow.h"

#include <QCloseEvent>
#include <QShortcut>

SecondaryWindow::SecondaryWindow(QWidget* parent)
    : QWidget(parent, Qt::Window) {
    // Esc closes the window as its title bar's button does, through the same close handling.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setObjectName(QStringLiteral("EscapeKey"));
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void SecondaryWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    if (m_closed)
        return;
    m_closed = true;
    Form_Unload();
    finishIfIdle();
}

void SecondaryWindow::finishIfIdle() {
    if (!m_closed || m_running > 0 || m_finished)
        return;
    m_finished = true;
    emit finished();
    deleteLater();
}
