#include "common/ui/QtDialogs.h"
#include "common/ui/QtPrinter.h"

#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QFile>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Answers the next modal dialog once it is up.
template <typename Dialog> void whenShown(std::function<void(Dialog&)> answer) {
    QTimer::singleShot(0, [answer] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        answer(*dialog);
    });
}

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

TEST(QtDialogs, MessageShowsTextIconAndDetail) {
    QtDialogs dialogs;
    QString text, detail;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    whenShown<QMessageBox>([&](QMessageBox& box) {
        text = box.text();
        detail = box.informativeText();
        icon = box.icon();
        box.accept();
    });
    dialogs.message(QStringLiteral("Cannot write\n\rthe file"), {}, Dialogs::Icon::Critical,
                    QStringLiteral("why"));
    EXPECT_EQ(text, QStringLiteral("Cannot write\nthe file"));
    EXPECT_EQ(detail, QStringLiteral("why"));
    EXPECT_EQ(icon, QMessageBox::Critical);
}

TEST(QtDialogs, InputReturnsTheTextOrNothingWhenCancelled) {
    QtDialogs dialogs;
    QString shownDefault;
    whenShown<QInputDialog>([&](QInputDialog& box) {
        shownDefault = box.textValue();
        box.setTextValue(QStringLiteral("5"));
        box.accept();
    });
    EXPECT_EQ(dialogs.input(QStringLiteral("t?"), QStringLiteral("T"), QStringLiteral("2")),
              QStringLiteral("5"));
    EXPECT_EQ(shownDefault, QStringLiteral("2"));

    whenShown<QInputDialog>([](QInputDialog& box) { box.reject(); });
    EXPECT_EQ(dialogs.input(QStringLiteral("t?"), QStringLiteral("T"), QStringLiteral("2")),
              std::nullopt);
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
    EXPECT_GT(bytes.count("/Type /Page\n"), 1);
}

TEST_F(QtPrinterToPdf, CancelledPathStartsNoJob) {
    EXPECT_FALSE(printer.beginJob(QStringLiteral("List")));
    printer.printLine(QStringLiteral("nothing"));
    EXPECT_FALSE(printer.endJob());
    EXPECT_FALSE(QFile::exists(pdfPath));
}

TEST_F(QtPrinterToPdf, ImageFillsOnePage) {
    dialogs.saveAnswers.push_back(pdfPath);
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::blue);
    ASSERT_TRUE(printer.printImage(image, QStringLiteral("Plot")));
    EXPECT_EQ(pdf().count("/Type /Page\n"), 1);
}

} // namespace
