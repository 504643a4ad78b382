#include "logger/ui/MemoryWindow.h"

#include "common/AppContext.h"
#include "common/SharedState.h"
#include "common/ui/TitledGrid.h"
#include "logger/ui/FloodPanel.h"

#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QScrollBar>
#include <QTableView>
#include <algorithm>

namespace {

constexpr int kMargin = 8;
constexpr int kRowHeight = 16;
constexpr int kVisibleSetRows = 9;
constexpr int kControlHeight = 22;

QLabel* panelLabel(QWidget* parent, const char* name, const QString& text, QFrame::Shadow shadow) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFrameStyle(QFrame::Panel | shadow);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QLabel* swatch(QWidget* parent, const char* name, const QColor& colour) {
    QLabel* box = panelLabel(parent, name, QString(), QFrame::Raised);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Window, colour);
    box->setPalette(palette);
    box->setAutoFillBackground(true);
    return box;
}

} // namespace

MemoryWindow::MemoryWindow(AppContext& context, DataLogger::ListSource obtainList)
    : m_context(context)
    , m_logger(context, *this, std::move(obtainList)) {
    setObjectName(QStringLiteral("Memory"));
    setWindowTitle(QStringLiteral("Data Logger"));
    buildControls();
}

MemoryWindow::~MemoryWindow() = default;

void MemoryWindow::buildControls() {
    m_gridSet = new QTableView(this);
    m_gridSet->setObjectName(QStringLiteral("GridSet"));
    m_gridSet->setAccessibleName(QStringLiteral("Logged sets"));
    m_gridSet->setModel(&m_sets);
    m_gridSet->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_gridSet->setSelectionMode(QAbstractItemView::SingleSelection);
    m_gridSet->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_gridSet->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setUpTitledGrid(*m_gridSet, kRowHeight);
    const QFontMetrics metrics(font());
    int gridWidth =
        2 * m_gridSet->frameWidth() + m_gridSet->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < SetListModel::kColumns; ++c) {
        const int width = metrics.horizontalAdvance(SetListModel::widthTemplates()[c]);
        m_gridSet->setColumnWidth(c, width);
        gridWidth += width;
    }
    connect(m_gridSet, &QTableView::clicked, this, &MemoryWindow::GridSet_Click);

    // The controls above the grid share its width.
    const int width = std::max(gridWidth, 300);
    const int half = (width - kMargin) / 2;
    int y = kMargin;
    m_ssPanel1 = panelLabel(this, "SSPanel1", QStringLiteral("ID"), QFrame::Raised);
    m_ssPanel1->setGeometry(kMargin, y, half / 2, kControlHeight);
    m_lblId = panelLabel(this, "LblID", QString(), QFrame::Sunken);
    m_lblId->setGeometry(kMargin + half / 2, y, half - half / 2, kControlHeight);
    const int right = 2 * kMargin + half;
    m_ssPanel4 = panelLabel(this, "SSPanel4", QStringLiteral("Int.(sec.)"), QFrame::Raised);
    m_ssPanel4->setGeometry(right, y, half / 2, kControlHeight);
    m_lblIntv = panelLabel(this, "LblIntv", QString(), QFrame::Sunken);
    m_lblIntv->setGeometry(right + half / 2, y, kMargin + width - right - half / 2, kControlHeight);
    m_lblId->setAccessibleDescription(QStringLiteral("ID"));
    m_lblIntv->setAccessibleDescription(QStringLiteral("Interval in seconds"));
    for (QLabel* value : {m_lblId, m_lblIntv}) {
        QPalette palette = value->palette();
        palette.setColor(QPalette::Window, Qt::white);
        value->setPalette(palette);
        value->setAutoFillBackground(true);
    }

    y += kControlHeight + kMargin;
    m_lblMemory = new QLabel(QStringLiteral("Capacity : 16 K"), this);
    m_lblMemory->setObjectName(QStringLiteral("LblMemory"));
    m_lblMemory->setGeometry(kMargin, y, width, 18);
    y += 20;
    m_mSize = new FloodPanel(QStringLiteral("Memory Size"), this);
    m_mSize->setObjectName(QStringLiteral("MSize"));
    m_mSize->setGeometry(kMargin, y, width, kControlHeight);
    y += kControlHeight + 6;
    m_ssPanel3 = swatch(this, "SSPanel3", FloodPanel::unusedColour());
    m_ssPanel3->setGeometry(kMargin, y + 2, 14, 14);
    m_lblUnused = new QLabel(QStringLiteral("Unused"), this);
    m_lblUnused->setObjectName(QStringLiteral("LblUnused"));
    m_lblUnused->setGeometry(kMargin + 20, y, 80, 18);
    m_ssPanel2 = swatch(this, "SSPanel2", FloodPanel::usedColour());
    m_ssPanel2->setGeometry(right, y + 2, 14, 14);
    m_lblUsed = new QLabel(QStringLiteral("Used"), this);
    m_lblUsed->setObjectName(QStringLiteral("LblUsed"));
    m_lblUsed->setGeometry(right + 20, y, 80, 18);
    y += 18 + 6;
    m_mBar = new QProgressBar(this);
    m_mBar->setObjectName(QStringLiteral("MBar"));
    m_mBar->setRange(0, 100);
    m_mBar->setValue(0);
    m_mBar->setTextVisible(false);
    m_mBar->setGeometry(kMargin, y, width, 14);
    y += 14 + kMargin;
    const int gridHeight =
        2 * m_gridSet->frameWidth() + kRowHeight * (kVisibleSetRows + 1) + kMargin / 2;
    m_gridSet->setGeometry(kMargin, y, width, gridHeight);
    setFixedSize(width + 2 * kMargin, y + gridHeight + kMargin);

    for (QWidget* control : {static_cast<QWidget*>(m_ssPanel1), static_cast<QWidget*>(m_lblId),
                             static_cast<QWidget*>(m_ssPanel4), static_cast<QWidget*>(m_lblIntv),
                             static_cast<QWidget*>(m_mSize), static_cast<QWidget*>(m_ssPanel2),
                             static_cast<QWidget*>(m_ssPanel3)}) {
        control->setCursor(Qt::PointingHandCursor);
        control->installEventFilter(this);
    }
}

void MemoryWindow::Form_Load() {
    m_loaded = true;
    if (m_context.panelFrame) {
        const QRect panel = m_context.panelFrame();
        move(panel.x() + panel.width(), panel.y());
    }
}

bool MemoryWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonRelease)
        return QWidget::eventFilter(watched, event);
    if (watched == m_lblId)
        LblID_Click();
    else if (watched == m_ssPanel1)
        SSPanel1_Click();
    else if (watched == m_lblIntv)
        LblIntv_Click();
    else if (watched == m_ssPanel4)
        SSPanel4_Click();
    else if (watched == m_mSize)
        MSize_Click();
    else if (watched == m_ssPanel2)
        SSPanel2_Click();
    else if (watched == m_ssPanel3)
        SSPanel3_Click();
    else
        return QWidget::eventFilter(watched, event);
    return true;
}

void MemoryWindow::readSetList() {
    whileRunning([this] { m_logger.readSetList(); });
}

void MemoryWindow::LblID_Click() {
    whileRunning([this] { m_logger.changeId(DataLogger::Origin::Label); });
}

void MemoryWindow::SSPanel1_Click() {
    whileRunning([this] { m_logger.changeId(DataLogger::Origin::Panel); });
}

void MemoryWindow::LblIntv_Click() {
    whileRunning([this] { m_logger.changeInterval(DataLogger::Origin::Label); });
}

void MemoryWindow::SSPanel4_Click() {
    whileRunning([this] { m_logger.changeInterval(DataLogger::Origin::Panel); });
}

void MemoryWindow::MSize_Click() {
    whileRunning([this] { m_logger.eraseMemory(); });
}

void MemoryWindow::SSPanel2_Click() {
    MSize_Click();
}

void MemoryWindow::SSPanel3_Click() {
    MSize_Click();
}

void MemoryWindow::GridSet_Click(const QModelIndex& index) {
    whileRunning([this, index] { m_logger.downloadSet(index.row()); });
}

void MemoryWindow::Form_Unload() {
    m_context.state.MemoryOn = false;
}

void MemoryWindow::showWindow() {
    if (!m_loaded)
        Form_Load();
    show();
}

void MemoryWindow::closeWindow() {
    close();
}

void MemoryWindow::setCapacityText(const QString& text) {
    m_lblMemory->setText(text);
}

QString MemoryWindow::idText() const {
    return m_lblId->text();
}

void MemoryWindow::setIdText(const QString& text) {
    m_lblId->setText(text);
}

QString MemoryWindow::intervalText() const {
    return m_lblIntv->text();
}

void MemoryWindow::setIntervalText(const QString& text) {
    m_lblIntv->setText(text);
}

void MemoryWindow::setUsagePercent(double percent) {
    m_mSize->setFloodPercent(percent);
}

void MemoryWindow::setTransferPercent(double percent) {
    m_mBar->setValue(static_cast<int>(std::clamp(percent, 0.0, 100.0)));
}
