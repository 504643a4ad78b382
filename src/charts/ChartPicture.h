#pragma once

#include <QByteArray>
#include <QString>

class QImage;

// A chart's picture in a file: SVG when the file's name ends in ".svg" (in any case), PNG
// otherwise.
//
// The SVG holds the chart's image itself, as a PNG at its pixel size: the real-time graph keeps
// no readings to draw again, only its image, and both charts are one-pixel drawings without
// antialiasing, so the image is the chart exactly as it was shown and printed.
bool isSvgName(const QString& path);
QByteArray chartPictureBytes(const QImage& image, bool svg, const QString& title);

// Writes the picture in the format its name asks for. A file is replaced only once the whole
// picture is written, so a failed write keeps an earlier picture; false when it cannot be
// written.
bool saveChartPicture(const QImage& image, const QString& path, const QString& title);
