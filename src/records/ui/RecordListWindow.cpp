#include "records/ui/RecordListWindow.h"

#include "panel/AppContext.h"
#include "records/ui/ListIcons.h"
#include "records/ui/RecordGrid.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QToolBar>

namespace {

constexpr int px(int twips) {
    return twips / 15;
}

QString tooltipOf(const QString& key) {
    return key == u"Save" ? QStringLiteral("Save As") : key;
}

void busyPointer(bool busy) {
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

} // namespace

RecordListWindow::RecordListWindow(AppContext& context, const Design& design)
    : QWidget(nullptr, Qt::Window)
    , m_context(context)
    , m_keys(design.keys) {
    setObjectName(QString::fromLatin1(design.name));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromLatin1(design.caption));
    // Column widths are measured in this font; at 8 pt its text fits the grid's 15-pixel rows.
    // An Arial-metric face keeps the four columns within the grid's width.
    QFont listFont(QStringLiteral("Arial"), 8);
    setFont(listFont);
    resize(px(4935), px(design.clientHeightTwips));

    buildToolbar(design.keys);
    m_grid = new RecordGrid(m_model, this);
    m_grid->setObjectName(QStringLiteral("Grid"));
    m_grid->setGeometry(0, px(480), px(4935), px(3615));
}

RecordListWindow::~RecordListWindow() = default;

void RecordListWindow::buildToolbar(const QStringList& keys) {
    m_toolbar = new QToolBar(this);
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setGeometry(0, 0, px(4935), px(420));
    m_toolbar->setIconSize(QSize(20, 20));
    m_toolbar->setMovable(false);
    for (const QString& key : keys) {
        QAction* action = m_toolbar->addAction(listToolbarIcon(key), key);
        action->setObjectName(key);
        action->setToolTip(tooltipOf(key));
        if (QWidget* button = m_toolbar->widgetForAction(action))
            button->setObjectName(key);
        connect(action, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
    }
}

QString RecordListWindow::caption() const {
    return windowTitle();
}

void RecordListWindow::setCaption(const QString& caption) {
    setWindowTitle(caption);
}

void RecordListWindow::Toolbar1_ButtonClick(const QString& key) {
    if (!m_keys.contains(key))
        return;
    if (key == u"Save") {
        whileRunning(
            [this] { saveList(m_context.state, m_context.dialogs, *this, m_model, busyPointer); });
    } else if (key == u"Print") {
        whileRunning([this] { PrintGrid(m_context, *this, m_model, busyPointer); });
    } else if (key == u"Plot") {
        preparePlot(caption(), m_model, plotsFromFileList(), m_context.state);
        emit plotRequested();
    }
}

QPoint RecordListWindow::besidePanel() const {
    if (!m_context.panelFrame)
        return {0, 0};
    const QRect panel = m_context.panelFrame();
    return {panel.x() + panel.width(), panel.y()};
}

void RecordListWindow::closeEvent(QCloseEvent* event) {
    if (m_running > 0) {
        m_closeAsked = true;
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}
