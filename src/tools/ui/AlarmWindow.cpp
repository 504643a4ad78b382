#include "tools/ui/AlarmWindow.h"

#include "common/AppContext.h"
#include "common/RememberedState.h"
#include "common/SharedState.h"
#include "tools/AlarmSettings.h"
#include "tools/ui/NumberKeyFilter.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>

namespace {

constexpr int kWidth = 240;
constexpr int kMargin = 10;
constexpr int kInner = kWidth - 2 * kMargin;
constexpr int kRowHeight = 26;

} // namespace

AlarmWindow::AlarmWindow(AppContext& context)
    : m_context(context) {
    setObjectName(QStringLiteral("Alarm"));
    setWindowTitle(QStringLiteral("Alarm"));
    buildControls();
}

void AlarmWindow::buildControls() {
    auto* frame = new QGroupBox(QStringLiteral("Alarm Function"), this);
    frame->setObjectName(QStringLiteral("FUnit"));
    frame->setGeometry(kMargin, kMargin, kInner, 52);
    m_optLux = new QRadioButton(QStringLiteral("LUX"), frame);
    m_optLux->setObjectName(QStringLiteral("OptLUX"));
    m_optLux->setGeometry(kMargin + 10, 22, kInner / 2 - 20, 22);
    m_optLux->setChecked(true);
    m_optFc = new QRadioButton(QStringLiteral("Fc"), frame);
    m_optFc->setObjectName(QStringLiteral("OptFc"));
    m_optFc->setGeometry(kInner / 2 + 10, 22, kInner / 2 - 20, 22);
    // The checked state, not the click: the keyboard and a screen reader's toggle choose too.
    connect(m_optLux, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            OptLUX_Click();
    });
    connect(m_optFc, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            OptFc_Click();
    });

    int y = frame->y() + frame->height() + kMargin;
    auto limitRow = [this, &y](const char* panelName, const QString& caption, const char* boxName,
                               const QString& text) {
        auto* panel = new QLabel(caption, this);
        panel->setObjectName(QString::fromLatin1(panelName));
        panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
        panel->setAlignment(Qt::AlignCenter);
        panel->setGeometry(kMargin, y, kInner / 3, kRowHeight);
        auto* box = new QLineEdit(text, this);
        box->setObjectName(QString::fromLatin1(boxName));
        box->setGeometry(kMargin + kInner / 3 + 6, y, kInner - kInner / 3 - 6, kRowHeight);
        NumberKeyFilter::install(*box);
        panel->setBuddy(box);
        y += kRowHeight + 6;
        return box;
    };
    m_tth = limitRow("PTH", QStringLiteral("High"), "TTH", QStringLiteral("20000"));
    m_ttl = limitRow("PTL", QStringLiteral("Low"), "TTL", QStringLiteral("0"));

    y += 4;
    const int half = (kInner - 8) / 2;
    m_cmdOk = new QPushButton(QStringLiteral("Enable"), this);
    m_cmdOk->setObjectName(QStringLiteral("CmdOK"));
    m_cmdOk->setGeometry(kMargin, y, half, 28);
    connect(m_cmdOk, &QPushButton::clicked, this, &AlarmWindow::CmdOK_Click);
    m_cmdDisable = new QPushButton(QStringLiteral("Disable"), this);
    m_cmdDisable->setObjectName(QStringLiteral("CmdDisable"));
    m_cmdDisable->setGeometry(kWidth - kMargin - half, y, half, 28);
    connect(m_cmdDisable, &QPushButton::clicked, this, &AlarmWindow::CmdDisable_Click);
    setFixedSize(kWidth, y + 28 + kMargin);
}

void AlarmWindow::Form_Load() {
    if (m_context.panelFrame) {
        const QRect panel = m_context.panelFrame();
        move(panel.x() + panel.width(), panel.y());
    }
    showAlarmUnit();
}

void AlarmWindow::showAlarmUnit() {
    if (const std::optional<AlarmForm> form = alarmForm(m_context.state)) {
        // Showing the unit is no choice of the user's.
        const QSignalBlocker luxQuiet(m_optLux);
        const QSignalBlocker fcQuiet(m_optFc);
        m_optLux->setChecked(!form->fc);
        m_optFc->setChecked(form->fc);
        m_tth->setText(form->high);
        m_ttl->setText(form->low);
    }
}

void AlarmWindow::OptLUX_Click() {
    m_context.state.AlarmUnit = QStringLiteral("LUX");
}

void AlarmWindow::OptFc_Click() {
    m_context.state.AlarmUnit = QStringLiteral("Fc");
}

void AlarmWindow::CmdOK_Click() {
    if (m_enabling)
        return;
    // The unit switch waits for the meter: the unit must not change under it.
    const auto switching = [this](bool running) {
        for (QWidget* control : std::initializer_list<QWidget*>{m_optLux, m_optFc, m_cmdOk})
            control->setEnabled(!running);
    };
    whileRunning([this, &switching] {
        QScopedValueRollback guard(m_enabling, true);
        const bool enabled = enableAlarm(
            m_context, m_tth->text(), m_ttl->text(), [this] { return closing(); }, switching);
        if (enabled)
            rememberAlarm(m_context.state, m_context.settings);
        if (enabled && !closing())
            close();
    });
}

void AlarmWindow::CmdDisable_Click() {
    m_context.state.AlarmOn = false;
    rememberAlarm(m_context.state, m_context.settings);
    close();
}
