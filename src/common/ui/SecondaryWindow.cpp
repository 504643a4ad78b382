#include "common/ui/SecondaryWindow.h"

#include <QCloseEvent>

SecondaryWindow::SecondaryWindow(QWidget* parent)
    : QWidget(parent, Qt::Window) {}

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
