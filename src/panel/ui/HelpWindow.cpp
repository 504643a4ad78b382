#include "panel/ui/HelpWindow.h"

#include "panel/HelpText.h"
#include "panel/ui/ToolbarIcons.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// The toolbar's pictures are drawn larger here than on the toolbar, where they are 16 pixels.
constexpr int kHelpPictureSize = 24;

QUrl pictureUrl(const QString& key) {
    return QUrl(QStringLiteral("picture:") + key);
}

QString helpHtml(const QList<HelpSection>& sections) {
    QString html;
    for (const HelpSection& section : sections) {
        html += QStringLiteral("<h3>%1</h3><table width=\"100%\" cellspacing=\"2\" "
                               "cellpadding=\"3\">")
                    .arg(section.heading.toHtmlEscaped());
        for (const HelpRow& row : section.rows) {
            const QString name = row.name.toHtmlEscaped();
            const QString text = row.text.toHtmlEscaped();
            if (row.pictures.isEmpty()) {
                html += QStringLiteral("<tr><td style=\"white-space: nowrap\"><b>%1</b></td>"
                                       "<td width=\"100%\">%2</td></tr>")
                            .arg(name, text);
                continue;
            }
            // A button: its pictures as on the toolbar, then its name above what it does.
            QString pictures;
            for (const QString& key : row.pictures)
                pictures += QStringLiteral("<img src=\"%1\" width=\"%2\" height=\"%2\"> ")
                                .arg(pictureUrl(key).toString())
                                .arg(kHelpPictureSize);
            html += QStringLiteral("<tr><td style=\"white-space: nowrap\">%1</td>"
                                   "<td width=\"100%\"><b>%2</b><br>%3</td></tr>")
                        .arg(pictures, name, text);
        }
        html += QStringLiteral("</table>");
    }
    return html;
}

} // namespace

HelpWindow::HelpWindow(QWidget* parent)
    : SecondaryWindow(parent) {
    setObjectName(QStringLiteral("Help"));
    setWindowTitle(QStringLiteral("luxlog Help"));
    resize(480, 540);

    m_text = new QTextBrowser(this);
    m_text->setObjectName(QStringLiteral("TxtHelp"));
    m_text->setAccessibleName(QStringLiteral("Help"));
    m_text->setOpenLinks(false);
    const QList<HelpSection> sections = helpText();
    for (const HelpSection& section : sections) {
        for (const HelpRow& row : section.rows) {
            for (const QString& key : row.pictures) {
                m_text->document()->addResource(
                    QTextDocument::ImageResource, pictureUrl(key),
                    toolbarIcon(key).pixmap(QSize(kHelpPictureSize, kHelpPictureSize),
                                            devicePixelRatioF()));
            }
        }
    }
    m_text->setHtml(helpHtml(sections));

    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("CmdClose"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addLayout(buttons);
}
