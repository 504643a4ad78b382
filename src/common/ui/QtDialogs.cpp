#include "common/ui/QtDialogs.h"

#include "common/Settings.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

namespace {

QString boxTitle(const QString& title) {
    return title.isEmpty() ? QApplication::applicationDisplayName() : title;
}

QMessageBox::Icon boxIcon(Dialogs::Icon icon) {
    switch (icon) {
    case Dialogs::Icon::Critical:
        return QMessageBox::Critical;
    case Dialogs::Icon::Information:
        return QMessageBox::Information;
    case Dialogs::Icon::Warning:
        return QMessageBox::Warning;
    case Dialogs::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QString displayText(const QString& text) {
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    out.replace(u'\r', u'\n');
    return out;
}

void QtDialogs::message(const QString& text, const QString& title, Icon icon,
                        const QString& detail) {
    QMessageBox box(boxIcon(icon), boxTitle(title), displayText(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    if (!detail.isEmpty())
        box.setInformativeText(displayText(detail));
    box.exec();
}

bool QtDialogs::confirm(const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::NoIcon, boxTitle(title), displayText(text),
                    QMessageBox::Ok | QMessageBox::Cancel, QApplication::activeWindow());
    return box.exec() == QMessageBox::Ok;
}

std::optional<QString> QtDialogs::input(const QString& prompt, const QString& title,
                                        const QString& defaultText) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(QApplication::activeWindow(), boxTitle(title), displayText(prompt),
                              QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> QtDialogs::openFile(const QString& title, const QString& filter) {
    return remember(filter, QFileDialog::getOpenFileName(QApplication::activeWindow(), title,
                                                         folderFor(filter), filter));
}

std::optional<QString> QtDialogs::saveFile(const QString& title, const QString& filter) {
    // Qt's save dialog asks before replacing an existing file.
    return remember(filter, QFileDialog::getSaveFileName(QApplication::activeWindow(), title,
                                                         folderFor(filter), filter));
}

QString QtDialogs::folderFor(const QString& filter) const {
    if (m_settings) {
        QString kept = m_settings->value(fileKindKey(filter)).toString();
        if (!kept.isEmpty() && QFileInfo(kept).isDir())
            return kept;
    }
    return m_folder;
}

std::optional<QString> QtDialogs::remember(const QString& filter, const QString& path) {
    if (path.isEmpty())
        return std::nullopt;
    m_folder = QFileInfo(path).absolutePath();
    if (m_settings)
        m_settings->setValue(fileKindKey(filter), m_folder);
    return path;
}
