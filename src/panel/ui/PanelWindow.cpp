#include "panel/ui/PanelWindow.h"

#include "common/AppContext.h"
#include "common/Dialogs.h"
#include "common/SharedState.h"
#include "common/ui/ActionKeys.h"
#include "common/ui/Twips.h"
#include "panel/ui/ToolbarIcons.h"
#include "records/ui/RealTimeList.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QShortcut>
#include <QTimer>
#include <QToolBar>

namespace {

const QString kCaption = QStringLiteral("Panel     V7.1");
const QString kBuildTag = QStringLiteral("100622");
constexpr int kClientWidth = 344; // 5160 twips
// The right-hand labels end here; their texts grow to the left so that none is cut off.
constexpr int kRightEdge = kClientWidth - 6;
constexpr int kPortLabelWidth = 200;
const QColor kLiveColour(0, 0, 255);
const QColor kStaleColour(128, 128, 128);

QFont boldFont(const QString& family, int points) {
    QFont font(family, points);
    font.setBold(true);
    return font;
}

QPixmap batteryPicture() {
    QPixmap pixmap(30, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1, 2, 24, 12));
    p.setBrush(Qt::black);
    p.drawRect(QRectF(25, 5, 3, 6));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 30, 30));
    p.drawRect(QRectF(3, 4, 5, 8));
    return pixmap;
}

} // namespace

PanelWindow::PanelWindow(AppContext& context, PortFactory portFactory, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_places(context.settings)
    , m_recorder(context, *this)
    , m_commands(context, m_windows, m_recorder)
    , m_session(context, std::move(portFactory), m_recorder)
    , m_frameHook(context.panelFrame, [this] { return frameGeometry(); })
    , m_intervalHook(context.pollInterval, [this] { return m_session.poll().timer().interval(); })
    , m_portLabelHook(context.setPortLabel, [this](const QString& text) { showPortLabel(text); }) {
    setObjectName(QStringLiteral("Panel"));
    setWindowTitle(kCaption);
    setFixedSize(twipsSize(5160, 4065));
    buildToolbar();
    buildControls();
    m_windows.placeWith(&m_places);

    m_session.poll().onDecoded = [this] { pollDecoded(); };
    m_session.poll().setPortLabel = [this](const QString& text) {
        showPortLabel(text);
        if (readingLostWith(text))
            m_display.stale = true;
        showLiveDisplay();
    };

    m_recorder.onListRow = [this](const QString& row) {
        if (RealTimeList* list = m_commands.liveList())
            list->addLiveRow(row);
    };
    m_recorder.onListEnded = [this](const QString& reason) { m_commands.endLiveList(reason); };
}

PanelWindow::~PanelWindow() {
    // The secondary windows hold the context and the recorder's view: none outlives the panel.
    m_windows.closeAll();
}

void PanelWindow::buildToolbar() {
    m_toolbar = new QToolBar(this);
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setGeometry(0, 0, kClientWidth, twips(420));
    m_toolbar->setIconSize(QSize(16, 16));
    // Twelve buttons share the window's width.
    m_toolbar->setStyleSheet(QStringLiteral("QToolButton { padding: 2px; margin: 0px; }"));
    for (const PanelCommands::Button& b : PanelCommands::buttons()) {
        const QString key = QString::fromLatin1(b.key);
        QAction* action = m_toolbar->addAction(toolbarIcon(key), QString());
        action->setObjectName(key);
        action->setData(key);
        // The text names the button for screen readers; the toolbar shows only the icon.
        action->setText(QString::fromLatin1(b.tooltip));
        setButtonKey(*action,
                     b.shortcut ? QKeySequence::fromString(QString::fromLatin1(b.shortcut),
                                                           QKeySequence::PortableText)
                                : QKeySequence(),
                     QString::fromLatin1(b.tooltip));
        connect(action, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
        if (key == u"Save")
            m_saveButton = action;
    }
    // Button 1 shows the picture of "Save1" while not recording.
    m_saveButton->setIcon(toolbarIcon(QStringLiteral("Save1")));

    // F1 opens the help from any of the program's windows, not only this one.
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setObjectName(QStringLiteral("HelpKey"));
    help->setContext(Qt::ApplicationShortcut);
    connect(help, &QShortcut::activated, this, [this] { m_commands.help(); });
}

void PanelWindow::buildControls() {
    auto label = [this](const char* name, const QString& text, const QFont& font, QPoint at) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        l->setFont(font);
        l->move(at);
        l->adjustSize();
        return l;
    };
    const QFont arial12 = boldFont(QStringLiteral("Arial"), 12);
    const QFont times12 = boldFont(QStringLiteral("Times New Roman"), 12);

    m_lblName = label("LblName", QStringLiteral("ORVANTIS"), times12, twipsPoint(120, 480));
    m_lblName->setFixedWidth(twips(4935));
    m_lblName->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    m_lblFull = label("LblFull", QStringLiteral("Full"), arial12, twipsPoint(240, 960));
    m_lblH = label("LblH", QStringLiteral("H"), arial12, twipsPoint(1080, 960));
    m_lblR = label("LblR", QStringLiteral("REC"), arial12, twipsPoint(1920, 960));
    m_lblMax = label("LblMax", QStringLiteral("MAX"), arial12, twipsPoint(3000, 960));
    m_lblFc = label("LblFc", QStringLiteral("Fc"), arial12, twipsPoint(4560, 1680));
    m_lblLux = label("LblLUX", QStringLiteral("LUX"), arial12, twipsPoint(4440, 2040));
    m_lblRange = label("LblRange", QString(), arial12, twipsPoint(4635, 2520));

    m_imgBt = new QLabel(this);
    m_imgBt->setObjectName(QStringLiteral("ImgBT"));
    m_imgBt->setPixmap(batteryPicture());
    m_imgBt->move(twipsPoint(3840, 960));
    m_imgBt->adjustSize();

    m_lblValue =
        label("LblValue", QString(), boldFont(QStringLiteral("Arial"), 72), twipsPoint(2190, 1320));

    const QFont arial48 = boldFont(QStringLiteral("Arial"), 48);
    m_lblOver = label("LblOver", QStringLiteral("OVER"), arial48, twipsPoint(1080, 1560));
    m_lblUnder = label("LblUnder", QStringLiteral("UNDER"), arial48, twipsPoint(600, 1560));
    QPalette red = m_lblOver->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    for (QLabel* l : {m_lblOver, m_lblUnder}) {
        l->setFixedHeight(twips(1095));
        l->setPalette(red);
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    m_lblFileName = label("LblFileName", QString(), font(), twipsPoint(975, 3360));
    m_lblRec = label("LblRec", QString(), font(), twipsPoint(720, 3720));
    m_lblCount = label("LblCount", QString(), font(), twipsPoint(1755, 3720));
    m_lblCom = label("LblCOM", QString(), boldFont(QStringLiteral("Times New Roman"), 24),
                     twipsPoint(4890, 3360));
    m_lblCom->setPalette(red);
    // A screen reader reads a label's shown text as its name; the description says what the
    // value is. The battery picture has no text, so its name says what it shows.
    const std::pair<QWidget*, const char*> descriptions[] = {
        {m_lblValue, "Reading"}, {m_lblRange, "Range"},           {m_lblFileName, "Recording file"},
        {m_lblRec, "Recording"}, {m_lblCount, "Records written"}, {m_lblCom, "Port"},
    };
    for (const auto& [widget, description] : descriptions)
        widget->setAccessibleDescription(QString::fromLatin1(description));
    m_imgBt->setAccessibleName(QStringLiteral("Battery low"));
    m_lblCom->setCursor(Qt::PointingHandCursor);
    m_lblCom->installEventFilter(this);

    for (QLabel* l : {m_lblFull, m_lblH, m_lblR, m_lblMax, m_lblFc, m_lblOver, m_lblUnder, m_imgBt})
        l->hide();
    // The labels that change text keep their place as they grow.
    for (QLabel* l : {m_lblValue, m_lblFileName, m_lblRec, m_lblCount})
        l->setMinimumWidth(0);
    showLiveDisplay();
}

bool PanelWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_lblCom && event->type() == QEvent::MouseButtonRelease) {
        LblCOM_Click();
        return true;
    }
    if (watched == m_lblCom && event->type() == QEvent::Resize)
        return false;
    return QWidget::eventFilter(watched, event);
}

bool PanelWindow::Form_Load() {
    move(0, 0);
    if (!m_session.open()) {
        Form_Unload();
        return false;
    }
    showPortLabel(portLabel(m_context.state));
    showLiveDisplay();
    // Where the user last left it, once it stands at its usual place.
    m_places.track(this);
    return true;
}

void PanelWindow::Timer1_Timer() {
    m_session.poll().Timer1_Timer();
}

void PanelWindow::pollDecoded() {
    if (updateLiveDisplay(m_context.state, m_display))
        QApplication::beep();
    showLiveDisplay();
}

void PanelWindow::showLiveDisplay() {
    m_lblFull->setVisible(m_display.full);
    m_lblH->setVisible(m_display.hold);
    m_lblR->setVisible(m_display.rec);
    m_lblMax->setVisible(m_display.max);
    m_lblFc->setVisible(m_display.fc);
    m_lblLux->setVisible(m_display.lux);
    m_imgBt->setVisible(m_display.battery);
    m_lblOver->setVisible(m_display.over);
    m_lblUnder->setVisible(m_display.under);
    m_lblRange->setText(m_display.range);
    m_lblValue->setText(m_display.value);
    // A reading the meter no longer confirms is grey until a fresh frame.
    QPalette palette = m_lblValue->palette();
    palette.setColor(QPalette::WindowText, m_display.stale ? kStaleColour : kLiveColour);
    m_lblValue->setPalette(palette);

    // Right-hand texts end at the window's edge; the value ends where the unit column starts.
    for (QLabel* l : {m_lblFc, m_lblLux, m_lblRange, m_lblCom}) {
        l->adjustSize();
        l->move(kRightEdge - l->width(), l->y());
    }
    m_lblValue->adjustSize();
    m_lblValue->move(std::min(twips(2190), m_lblLux->x() - 4 - m_lblValue->width()),
                     m_lblValue->y());
    for (QLabel* l : {m_lblOver, m_lblUnder}) {
        l->raise();
        l->adjustSize();
        l->setFixedHeight(twips(1095));
    }
}

void PanelWindow::showPortLabel(const QString& text) {
    // An adapter's name would run over the record file's name: it is shortened in the middle,
    // where its serial number still tells two adapters apart, and shown whole in the tooltip.
    const QString shown =
        m_lblCom->fontMetrics().elidedText(text, Qt::ElideMiddle, kPortLabelWidth);
    m_lblCom->setText(shown);
    m_lblCom->setToolTip(shown == text ? QString() : text);
}

void PanelWindow::Timer2_Timer() {
    m_session.sampling().Timer2_Timer();
}

void PanelWindow::Toolbar1_ButtonClick(const QString& key) {
    m_commands.run(key);
}

void PanelWindow::showRecording(const QString& fileName) {
    m_lblFileName->setText(fileName);
    m_lblFileName->adjustSize();
    m_saveButton->setIcon(toolbarIcon(QStringLiteral("Stop")));
    m_saveButton->setText(QStringLiteral("Stop Recording"));
    m_saveButton->setToolTip(
        keyedToolTip(QStringLiteral("Stop Recording"), m_saveButton->shortcut()));
    m_lblRec->show();
}

void PanelWindow::showNotRecording() {
    m_saveButton->setIcon(toolbarIcon(QStringLiteral("Save1")));
    m_saveButton->setText(QStringLiteral("Save As"));
    m_saveButton->setToolTip(keyedToolTip(QStringLiteral("Save As"), m_saveButton->shortcut()));
    m_lblRec->hide();
    m_lblRec->clear();
    m_lblCount->clear();
}

void PanelWindow::LblCOM_Click() {
    if (windowTitle().contains(kBuildTag))
        setWindowTitle(kCaption);
    else
        setWindowTitle(kCaption + QStringLiteral("  ") + kBuildTag);
}

void PanelWindow::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void PanelWindow::Form_Unload() {
    if (m_unloaded)
        return;
    m_unloaded = true;
    m_session.stop();
    m_windows.closeAll();
    m_recorder.close();
    m_session.release();
    emit programEnded();
}

void PanelWindow::showRecordCount(const QString& count) {
    m_lblCount->setText(count);
    m_lblCount->adjustSize();
    m_lblRec->setText(QStringLiteral("Rec"));
    m_lblRec->adjustSize();
}

void PanelWindow::showRecordingEnded(const QString& reason, bool failed) {
    // Shown once the sampling tick has returned: the box then holds up neither the tick nor
    // the poll while it is open.
    QTimer::singleShot(0, this, [this, reason, failed] {
        if (!m_unloaded)
            m_context.dialogs.message(
                reason, {}, failed ? Dialogs::Icon::Critical : Dialogs::Icon::Information);
    });
}

void PanelWindow::clearRecordingLabels() {
    m_lblFileName->clear();
    m_lblCount->clear();
    m_lblRec->clear();
}
