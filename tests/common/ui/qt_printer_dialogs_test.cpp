#include "common/ui/QtDialogs.h"
#include "common/ui/QtPrinter.h"

#include "support/ScriptedDialogs.h"

#include <QFile>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(DisplayText, LineBreaksBecomeLineFeeds) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"Recording Mode!\n\rPlease stop recording!", "Recording Mode!\nPlease stop recording!"},
        {"Enter the SAMPLING TIME in seconds\r\n(1 <= t <= 86400 ) ",
         "Enter the SAMPLING TIME in seconds\n(1 <= t <= 86400 ) "},
        {"a\rb\nc", "a\nb\nc"},
        {"a\r\n\r\nb", "a\n\nb"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(displayText(QString::fromLatin1(c.in)), QString::fromLatin1(c.out));
}

class QtPrinterToPdf : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QPrinterInfo::availablePrinters().isEmpty())
            GTEST_SKIP() << "a printer is installed; the PDF fallback is not used";
    }
    QByteArray pdf() const {
        QFile file(pdfPath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    QString pdfPath = dir.filePath(QStringLiteral("out.pdf"));
    ScriptedDialogs dialogs;
    QtPrinter printer{dialogs};
};

TEST_F(QtPrinterToPdf, LinesRunOnToFurtherPages) {
    dialogs.saveAnswers.push_back(pdfPath);
    ASSERT_TRUE(printer.beginJob(QStringLiteral("List")));
    for (int i = 0; i < 300; ++i)
        printer.printLine(QStringLiteral("%1      22/06/2010 14:05:09 1230").arg(i));
    ASSERT_TRUE(printer.endJob());
    const QByteArray bytes = pdf();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    // Five pages of whole lines, none printed over another.
    EXPECT_EQ(bytes.count("/Type /Page\n"), 5);
}

TEST_F(QtPrinterToPdf, CancelledPathStartsNoJob) {
    EXPECT_FALSE(printer.beginJob(QStringLiteral("List")));
    printer.printLine(QStringLiteral("nothing"));
    EXPECT_FALSE(printer.endJob());
    EXPECT_FALSE(QFile::exists(pdfPath));
}

} // namespace
