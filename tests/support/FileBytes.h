#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// The whole of a file, or a marker no test expects when it cannot be read.
inline QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}
