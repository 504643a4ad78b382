#include "records/ui/RecordListWindow.h"

#include "common/AppContext.h"
#include "common/ui/ActionKeys.h"
#include "common/ui/SmallIcons.h"
#include "common/ui/Twips.h"
#include "records/ui/RecordGrid.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QToolBar>
#include <algorithm>

namespace {

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
    : m_context(context)
    , m_keys(design.keys) {
    setObjectName(QString::fromLatin1(design.name));
    setWindowTitle(QString::fromLatin1(design.caption));
    // Column widths are measured in this font; at 8 pt its text fits the grid's 15-pixel rows.
    // An Arial-metric face keeps the four columns within the grid's width.
    QFont listFont(QStringLiteral("Arial"), 8);
    setFont(listFont);
    resize(twips(4935), twips(design.clientHeightTwips));

    buildToolbar(design.keys);
    m_grid = new RecordGrid(m_model, this);
    m_grid->setObjectName(QStringLiteral("Grid"));
    m_grid->setGeometry(0, twips(480), twips(4935), twips(3615));

    // Ctrl+C: the selected rows, for pasting into a spreadsheet.
    auto* copy = new QAction(QStringLiteral("Copy"), this);
    copy->setObjectName(QStringLiteral("Copy"));
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WindowShortcut);
    connect(copy, &QAction::triggered, this, &RecordListWindow::copySelectedRows);
    addAction(copy);
}

void RecordListWindow::copySelectedRows() {
    std::vector<int> rows;
    for (const QModelIndex& index : m_grid->selectionModel()->selectedRows())
        rows.push_back(index.row());
    // Single cells chosen rather than rows: their rows.
    if (rows.empty()) {
        for (const QModelIndex& index : m_grid->selectionModel()->selectedIndexes())
            rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (!rows.empty())
        QGuiApplication::clipboard()->setText(copiedRows(m_model, rows));
}

RecordListWindow::~RecordListWindow() = default;

void RecordListWindow::buildToolbar(const QStringList& keys) {
    m_toolbar = new QToolBar(this);
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setGeometry(0, 0, twips(4935), twips(420));
    m_toolbar->setIconSize(QSize(20, 20));
    m_toolbar->setMovable(false);
    for (const QString& key : keys) {
        QAction* action = m_toolbar->addAction(smallToolbarIcon(key), key);
        action->setObjectName(key);
        if (key == u"Print")
            setButtonKey(*action, printKey(), tooltipOf(key));
        else
            action->setToolTip(tooltipOf(key));
        if (QWidget* button = m_toolbar->widgetForAction(action))
            button->setObjectName(key);
        connect(action, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
    }
}

void RecordListWindow::showNote(const QString& note) {
    if (!m_note) {
        m_note = new QLabel(m_toolbar);
        m_note->setObjectName(QStringLiteral("LblNote"));
        m_note->setWordWrap(true);
        m_note->setContentsMargins(6, 0, 2, 0);
        m_note->setAccessibleDescription(QStringLiteral("Status"));
        m_toolbar->addWidget(m_note);
    }
    m_note->setText(note);
}

QString RecordListWindow::caption() const {
    return windowTitle();
}

void RecordListWindow::setCaption(const QString& caption) {
    setWindowTitle(caption);
}

void RecordListWindow::setFilling(bool filling) {
    m_filling = filling;
    for (QAction* action : m_toolbar->actions())
        action->setEnabled(!filling);
}

void RecordListWindow::Toolbar1_ButtonClick(const QString& key) {
    if (!m_keys.contains(key) || m_filling)
        return;
    if (key == u"Save") {
        whileRunning(
            [this] { saveList(m_context.state, m_context.dialogs, *this, m_model, busyPointer); });
    } else if (key == u"Print") {
        whileRunning([this] { PrintGrid(m_context, *this, m_model, busyPointer); });
    } else if (key == u"Plot") {
        emit plotRequested();
    } else if (key == u"Export") {
        whileRunning([this] { exportList(m_context.dialogs, *this, m_model, busyPointer); });
    }
}

QPoint RecordListWindow::besidePanel() const {
    if (!m_context.panelFrame)
        return {0, 0};
    const QRect panel = m_context.panelFrame();
    return {panel.x() + panel.width(), panel.y()};
}
