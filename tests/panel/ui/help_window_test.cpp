#include "panel/HelpText.h"
#include "panel/ui/HelpWindow.h"
#include "panel/ui/PanelCommands.h"
#include "panel/ui/PanelWindow.h"
#include "panel/ui/ToolbarIcons.h"
#include "support/SimulatedMeter.h"
#include "support/WindowLookup.h"

#include <QAction>
#include <QHash>
#include <QPointer>
#include <QPushButton>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFragment>
#include <gtest/gtest.h>

namespace {

const HelpSection& helpSection(const QList<HelpSection>& sections, const QString& heading) {
    for (const HelpSection& section : sections) {
        if (section.heading == heading)
            return section;
    }
    static const HelpSection none;
    ADD_FAILURE() << "no section " << heading.toStdString();
    return none;
}

QImage iconImage(const QIcon& icon) {
    return icon.pixmap(QSize(16, 16), 1.0).toImage();
}

// The names of the pictures the help's text shows, in order.
QStringList shownPictures(QTextDocument& document) {
    QStringList names;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isImageFormat())
                names << format.toImageFormat().name();
        }
    }
    return names;
}

} // namespace

// Button by button as on the toolbar, each with the picture it shows there: a button added,
// moved or renamed shows up here until the help says so too.
TEST(HelpText, DescribesEveryToolbarButtonInOrderWithItsPicture) {
    SimulatedMeter meter;
    PanelWindow panel(meter.context, [&](const AppContext&) {
        return std::make_unique<ForwardingPort>(meter.demo);
    });
    const QList<HelpRow> rows = helpSection(helpText(), kHelpToolbarHeading).rows;
    const std::span<const PanelCommands::Button> buttons = PanelCommands::buttons();
    ASSERT_EQ(rows.size(), static_cast<qsizetype>(buttons.size()));
    for (size_t i = 0; i < buttons.size(); ++i) {
        const PanelCommands::Button& button = buttons[i];
        SCOPED_TRACE(button.key);
        const HelpRow& row = rows[static_cast<qsizetype>(i)];
        EXPECT_EQ(row.name, QString::fromLatin1(button.tooltip));
        EXPECT_FALSE(row.text.isEmpty());
        ASSERT_FALSE(row.pictures.isEmpty());
        QAction* action = panel.findChild<QAction*>(QString::fromLatin1(button.key));
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(iconImage(toolbarIcon(row.pictures.first())), iconImage(action->icon()));
    }
}

TEST(HelpText, NamesEveryKeyOfTheMainToolbar) {
    QHash<QString, QString> keys;
    const QList<HelpSection> help = helpText();
    for (const HelpRow& row : helpSection(help, kHelpKeysHeading).rows)
        keys.insert(row.name, row.text);
    for (const PanelCommands::Button& button : PanelCommands::buttons()) {
        if (!button.shortcut)
            continue;
        const QString shortcut = QString::fromLatin1(button.shortcut);
        ASSERT_TRUE(keys.contains(shortcut)) << button.shortcut;
        EXPECT_TRUE(keys[shortcut].startsWith(QString::fromLatin1(button.tooltip)))
            << keys[shortcut].toStdString();
    }
}

TEST(HelpWindowTest, ShowsEveryPictureOfTheTextAndClosesOnItsButton) {
    QPointer<HelpWindow> window = new HelpWindow;
    window->show();
    EXPECT_EQ(window->windowTitle(), "luxlog Help");

    QStringList pictures;
    for (const HelpSection& section : helpText()) {
        for (const HelpRow& row : section.rows)
            pictures << row.pictures;
    }
    QTextDocument& document = *window->text().document();
    const QStringList shown = shownPictures(document);
    ASSERT_EQ(shown.size(), pictures.size());
    for (qsizetype i = 0; i < shown.size(); ++i) {
        SCOPED_TRACE(pictures[i].toStdString());
        EXPECT_TRUE(shown[i].endsWith(pictures[i]));
        // A picture the document cannot find shows as a broken image.
        const QVariant image = document.resource(QTextDocument::ImageResource, QUrl(shown[i]));
        EXPECT_FALSE(image.value<QPixmap>().isNull());
    }

    auto* close = child<QPushButton>(window, "CmdClose");
    ASSERT_NE(close, nullptr);
    close->click();
    EXPECT_FALSE(window->isVisible());
    settleDeletes();
    EXPECT_TRUE(window.isNull());
}
