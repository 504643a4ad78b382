#include "charts/ui/ChartWindow.h"

#include "charts/ChartPicture.h"
#include "common/AppContext.h"
#include "common/Dialogs.h"
#include "common/Printer.h"
#include "common/ui/ActionKeys.h"
#include "common/ui/SmallIcons.h"
#include "common/ui/Twips.h"
#include "records/FileTransfer.h"

#include <QAction>
#include <QPaintEvent>
#include <QPainter>
#include <QToolBar>

namespace {

// 96 dots per inch, so point sizes come out in the pixels the layout is given in.
constexpr int kDotsPerMeter = 3780;

} // namespace

ChartWindow::ChartWindow(AppContext& context, WindowOwner& owner, const char* name,
                         const char* caption, QSize clientSize)
    : m_context(context)
    , m_owner(owner)
    , m_caption(QString::fromLatin1(caption)) {
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(m_caption);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(clientSize);

    m_toolbar = new QToolBar(this);
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setIconSize(QSize(20, 20));
    m_toolbar->setMovable(false);
    m_toolbar->setGeometry(0, 0, clientSize.width(), twips(420));
    const std::pair<QString, QString> buttons[] = {
        {QStringLiteral("Limit"), QStringLiteral("Limit")},
        {QStringLiteral("Print"), QStringLiteral("Print")},
        {QStringLiteral("SavePicture"), QStringLiteral("Save Picture")},
    };
    for (const auto& [key, tooltip] : buttons) {
        QAction* action = m_toolbar->addAction(smallToolbarIcon(key), tooltip);
        action->setObjectName(key);
        if (key == u"Print")
            setButtonKey(*action, printKey(), tooltip);
        else
            action->setToolTip(tooltip);
        if (QWidget* button = m_toolbar->widgetForAction(action))
            button->setObjectName(key);
        connect(action, &QAction::triggered, this,
                [this, name = key] { Toolbar1_ButtonClick(name); });
    }
}

QAction* ChartWindow::addToolbarButton(const QString& key, const QString& tooltip) {
    QAction* action = m_toolbar->addAction(smallToolbarIcon(key), tooltip);
    action->setObjectName(key);
    action->setToolTip(tooltip);
    if (QWidget* button = m_toolbar->widgetForAction(action))
        button->setObjectName(key);
    return action;
}

void ChartWindow::Toolbar1_ButtonClick(const QString& key) {
    if (key == u"Limit") {
        showRangeDialog();
    } else if (key == u"Print") {
        // The image holds the chart alone: the toolbar lies over the window, not in the image.
        // The chart as drawn so far; the sweep goes on while the print dialog is open.
        const QImage chart = m_image;
        whileRunning([&] { m_context.printer.printImage(chart, m_caption); });
    } else if (key == u"SavePicture") {
        // The chart as it was when the button was pressed, like Print.
        const QImage chart = m_image;
        whileRunning([&] { savePicture(chart); });
    }
}

void ChartWindow::savePicture(const QImage& shown) {
    const std::optional<QImage> chart = pictureToSave(shown);
    if (!chart)
        return;
    const std::optional<QString> path = m_context.dialogs.saveFile(
        QStringLiteral("Save Picture"), QStringLiteral("PNG picture (*.png);;SVG picture (*.svg)"));
    if (path && !saveChartPicture(*chart, *path, m_caption))
        m_context.dialogs.message(kCannotWriteFile, {}, Dialogs::Icon::Critical);
}

void ChartWindow::clearImage() {
    m_toolbar->resize(width(), m_toolbar->height());
    m_image = QImage(size(), QImage::Format_RGB32);
    m_image.setDotsPerMeterX(kDotsPerMeter);
    m_image.setDotsPerMeterY(kDotsPerMeter);
    m_image.fill(Qt::white);
}

void ChartWindow::beginDrawing(QPainter& painter) {
    painter.begin(&m_image);
    painter.setFont(font());
}

QPoint ChartWindow::besidePanel() const {
    if (!m_context.panelFrame)
        return {0, 0};
    const QRect panel = m_context.panelFrame();
    return {panel.x() + panel.width(), 0};
}

void ChartWindow::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect drawn = event->rect() & m_image.rect();
    if (!drawn.isEmpty())
        painter.drawImage(drawn.topLeft(), m_image, drawn);
    // Between a resize and the chart drawn for it.
    for (const QRect& rest : event->region() - drawn)
        painter.fillRect(rest, Qt::white);
}
