#include "charts/ChartPicture.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>

bool isSvgName(const QString& path) {
    return path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive);
}

QByteArray chartPictureBytes(const QImage& image, bool svg, const QString& title) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return {};
    if (!svg)
        return png;
    const QByteArray width = QByteArray::number(image.width());
    const QByteArray height = QByteArray::number(image.height());
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" "
           "xmlns:xlink=\"http://www.w3.org/1999/xlink\" version=\"1.1\" width=\"" +
           width + "\" height=\"" + height + "\" viewBox=\"0 0 " + width + ' ' + height +
           "\">\n<title>" + title.trimmed().toHtmlEscaped().toUtf8() + "</title>\n<image width=\"" +
           width + "\" height=\"" + height +
           "\" image-rendering=\"optimizeSpeed\" xlink:href=\"data:image/png;base64," +
           png.toBase64() + "\"/>\n</svg>\n";
}

bool saveChartPicture(const QImage& image, const QString& path, const QString& title) {
    const QByteArray bytes = chartPictureBytes(image, isSvgName(path), title);
    if (bytes.isEmpty())
        return false;
    // A device or pipe is written to as it is: a file put in its place would replace it.
    const QFileInfo target(path);
    if (target.exists() && !target.isFile()) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
    }
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}
