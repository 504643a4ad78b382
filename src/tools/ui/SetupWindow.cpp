#include "tools/ui/SetupWindow.h"

#include "common/AppContext.h"
#include "common/ui/Twips.h"
#include "tools/ClockTexts.h"

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr int kTickMs = 350;
constexpr int kSetupWidth = 300;
constexpr int kSetupMargin = 10;
constexpr int kLabelHeight = 26;
constexpr int kButtonHeight = 28;

} // namespace

SetupWindow::SetupWindow(AppContext& context)
    : m_context(context)
    , m_clock(context, *this) {
    setObjectName(QStringLiteral("Setup"));
    setWindowTitle(QStringLiteral("Setup"));
    setWindowModality(Qt::ApplicationModal);
    buildControls();

    m_timer1.setObjectName(QStringLiteral("Timer1"));
    m_timer1.setInterval(kTickMs);
    connect(&m_timer1, &QTimer::timeout, this, &SetupWindow::Timer1_Timer);
}

SetupWindow::~SetupWindow() = default;

void SetupWindow::buildControls() {
    auto* frame = new QGroupBox(QStringLiteral("Time"), this);
    frame->setObjectName(QStringLiteral("FrameTime"));
    const int inner = kSetupWidth - 2 * kSetupMargin;
    frame->setGeometry(kSetupMargin, kSetupMargin, inner, 2 * kLabelHeight + 44);
    auto timeLabel = [frame, this](const char* name, const QString& caption, int y) {
        auto* l = new QLabel(caption, frame);
        l->setObjectName(QString::fromLatin1(name));
        l->setAccessibleDescription(caption);
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setAlignment(Qt::AlignCenter);
        l->setGeometry(kSetupMargin, y, frame->width() - 2 * kSetupMargin, kLabelHeight);
        l->setCursor(Qt::PointingHandCursor);
        l->installEventFilter(this);
        return l;
    };
    m_lblMeterTime = timeLabel("LblMeterTime", kMeterTimeCaption, 22);
    m_lblPcTime = timeLabel("LblPCTime", kPcTimeCaption, 22 + kLabelHeight + 8);

    int y = frame->y() + frame->height() + kSetupMargin;
    m_cmdSetTime = new QPushButton(QStringLiteral("Set Meter Time To System Time"), this);
    m_cmdSetTime->setObjectName(QStringLiteral("CmdSetTime"));
    m_cmdSetTime->setGeometry(kSetupMargin, y, inner, kButtonHeight);
    connect(m_cmdSetTime, &QPushButton::clicked, this, &SetupWindow::CmdSetTime_Click);
    y += kButtonHeight + 6;
    m_cmdExit = new QPushButton(QStringLiteral("Exit"), this);
    m_cmdExit->setObjectName(QStringLiteral("CmdExit"));
    m_cmdExit->setGeometry(kSetupMargin, y, inner, kButtonHeight);
    connect(m_cmdExit, &QPushButton::clicked, this, &SetupWindow::CmdExit_Click);
    setFixedSize(kSetupWidth, y + kButtonHeight + kSetupMargin);
}

void SetupWindow::Form_Load() {
    if (m_context.panelFrame) {
        const QRect panel = m_context.panelFrame();
        const int width = frameGeometry().width();
        move(panel.x() + (panel.width() - width) / 2, panel.y() + twips(1000));
    }
    m_timer1.start();
}

bool SetupWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == m_lblMeterTime) {
            LblMeterTime_Click();
            return true;
        }
        if (watched == m_lblPcTime) {
            LblPCTime_Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SetupWindow::Timer1_Timer() {
    whileRunning([this] { m_clock.tick(); });
}

void SetupWindow::LblMeterTime_Click() {
    m_clock.toggleMeterTime();
}

void SetupWindow::LblPCTime_Click() {
    m_clock.togglePcTime();
}

void SetupWindow::CmdSetTime_Click() {
    whileRunning([this] { m_clock.setMeterTime(); });
}

void SetupWindow::CmdExit_Click() {
    close();
}

void SetupWindow::Form_Unload() {
    m_timer1.stop();
    m_clock.release();
}

void SetupWindow::setMeterTimeText(const QString& text) {
    m_lblMeterTime->setText(text);
}

void SetupWindow::setPcTimeText(const QString& text) {
    m_lblPcTime->setText(text);
}
