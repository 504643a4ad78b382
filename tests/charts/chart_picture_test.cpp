#include "charts/ChartPicture.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

QImage chart() {
    QImage image(349, 364, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(Qt::black);
    p.drawLine(60, 337, 330, 73);
    p.fillRect(10, 10, 3, 3, QColor(255, 0, 0));
    return image;
}

QImage decoded(const QByteArray& png) {
    return QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(ChartPicture, SvgOnlyByItsEnding) {
    const struct {
        const char* path;
        bool svg;
    } cases[] = {{"/tmp/a.svg", true}, {"A.SVG", true}, {"a.png", false},
                 {"a.svg.png", false}, {"svg", false},  {"a", false}};
    for (const auto& c : cases)
        EXPECT_EQ(isSvgName(QString::fromLatin1(c.path)), c.svg) << c.path;
}

TEST(ChartPicture, PngAndSvgHoldTheChartPixelForPixel) {
    const QImage image = chart();
    EXPECT_EQ(decoded(chartPictureBytes(image, false, {})), image);

    QXmlStreamReader svg(chartPictureBytes(image, true, QStringLiteral("Plot <a> & b ")));
    QString title;
    QImage embedded;
    while (svg.readNextStartElement()) {
        if (svg.name() == u"svg") {
            EXPECT_EQ(svg.attributes().value("width"), u"349");
            EXPECT_EQ(svg.attributes().value("height"), u"364");
        } else if (svg.name() == u"title") {
            title = svg.readElementText();
        } else if (svg.name() == u"image") {
            const QStringView href = svg.attributes().value(
                QStringLiteral("http://www.w3.org/1999/xlink"), QStringLiteral("href"));
            const QString prefix = QStringLiteral("data:image/png;base64,");
            ASSERT_TRUE(href.startsWith(prefix));
            embedded = decoded(QByteArray::fromBase64(href.mid(prefix.size()).toLatin1()));
            svg.skipCurrentElement();
        }
    }
    EXPECT_FALSE(svg.hasError()) << svg.errorString().toStdString();
    EXPECT_EQ(title, "Plot <a> & b");
    EXPECT_EQ(embedded, image);
}

TEST(ChartPicture, FailedWriteKeepsWhatWasThere) {
    QTemporaryDir dir;
    const QString earlier = dir.filePath(QStringLiteral("chart.png"));
    ASSERT_TRUE(saveChartPicture(chart(), earlier, {}));
    EXPECT_EQ(QImage(earlier).convertToFormat(QImage::Format_RGB32), chart());

    EXPECT_FALSE(saveChartPicture(chart(), dir.filePath(QStringLiteral("none/chart.svg")), {}));
    if (QFileInfo::exists(QStringLiteral("/dev/full"))) {
        EXPECT_FALSE(saveChartPicture(chart(), QStringLiteral("/dev/full"), {}));
        // Written to, never replaced by a file.
        EXPECT_FALSE(QFileInfo(QStringLiteral("/dev/full")).isFile());
    }
    // A picture that cannot be encoded leaves the earlier file alone.
    EXPECT_FALSE(saveChartPicture(QImage(), earlier, {}));
    EXPECT_EQ(QImage(earlier).convertToFormat(QImage::Format_RGB32), chart());
}
