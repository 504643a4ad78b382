#include "tools/ui/LightWindow.h"

#include "common/AppContext.h"
#include "common/SharedState.h"
#include "common/ui/Twips.h"
#include "common/ui/ValueLabel.h"
#include "tools/Candela.h"
#include "tools/ui/NumberKeyFilter.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>

namespace {

constexpr int kFallbackInterval = 50;
// The third line: the boxes sit on it, the labels are centred in it.
constexpr int kLineTop = 62;
constexpr int kLineHeight = 26;

} // namespace

LightWindow::LightWindow(AppContext& context)
    : m_context(context) {
    setObjectName(QStringLiteral("Light"));
    setWindowTitle(QStringLiteral("Luminous Intensity - Candela ( cd )"));
    setFont(QFont(QStringLiteral("Arial"), 10));
    setFixedSize(twipsSize(6480, 1665));
    buildControls();

    m_timer1.setObjectName(QStringLiteral("Timer1"));
    connect(&m_timer1, &QTimer::timeout, this, &LightWindow::Timer1_Timer);
    m_timersSwitch.emplace(m_context.timers, [this](bool running) { setTimerRunning(running); });
}

LightWindow::~LightWindow() = default;

void LightWindow::buildControls() {
    auto label = [this](const char* name, const QString& text, QRect at,
                        Qt::Alignment align = Qt::AlignVCenter | Qt::AlignLeft) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        l->setGeometry(at);
        l->setAlignment(align);
        return l;
    };
    auto shape = [this](const char* name, QRect at) {
        auto* box = new QFrame(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setFrameStyle(QFrame::Box | QFrame::Plain);
        box->setGeometry(at);
        box->lower();
        return box;
    };
    const int width = this->width();
    label("LblMsg1", QStringLiteral("Input the distance from light source to the meter"),
          QRect(8, 6, width - 16, 20));
    label("LblMsg2", QStringLiteral("cd = square meters x Lux = square feet x Fc"),
          QRect(8, 30, width - 16, 20));

    const int top = kLineTop;
    const int h = kLineHeight;
    const Qt::Alignment right = Qt::AlignVCenter | Qt::AlignRight;
    const Qt::Alignment centre = Qt::AlignCenter;
    shape("Shape1", QRect(6, top - 2, 116, h + 4));
    m_txtDistance = new QLineEdit(this);
    m_txtDistance->setObjectName(QStringLiteral("TxtDistance"));
    m_txtDistance->setAccessibleName(QStringLiteral("Distance"));
    m_txtDistance->setGeometry(10, top + 1, 76, h - 2);
    NumberKeyFilter::install(*m_txtDistance);
    m_lblMf = label("LblMF", QStringLiteral("M"), QRect(88, top, 16, h), right);
    QLabel* square = label("Lbl", QStringLiteral("2"), QRect(105, top + 1, 12, 12),
                           Qt::AlignLeft | Qt::AlignTop);
    QFont small = font();
    small.setPointSize(7);
    square->setFont(small);
    label("LblMul", QStringLiteral("x"), QRect(122, top, 14, h), centre);

    shape("Shape2", QRect(136, top - 2, 108, h + 4));
    m_lblLight = label("LblLight", QStringLiteral("20000"), QRect(140, top, 58, h), right);
    m_lblLight->setAccessibleDescription(QStringLiteral("Reading"));
    m_lblUnit = label("LblUnit", QStringLiteral("LUX"), QRect(202, top, 38, h));
    m_lblUnit->setAccessibleDescription(QStringLiteral("Unit"));
    label("Lblequ", QStringLiteral("="), QRect(244, top, 16, h), centre);

    shape("Shape3", QRect(260, top - 2, width - 266, h + 4));
    m_lblCd = label("Lblcd", QString(), QRect(264, top, width - 300, h), right);
    m_lblCd->setAccessibleDescription(QStringLiteral("Luminous intensity in cd"));
    label("cd", QStringLiteral("cd"), QRect(width - 32, top, 24, h));
}

void LightWindow::Form_Load() {
    if (m_context.panelFrame) {
        const QRect panel = m_context.panelFrame();
        move(panel.x(), panel.y() + panel.height());
    }
    m_timer1.setInterval(m_context.pollInterval ? m_context.pollInterval() : kFallbackInterval);
    setTimerRunning(!m_context.timers.paused());
}

void LightWindow::setTimerRunning(bool running) {
    if (running && !closing())
        m_timer1.start();
    else
        m_timer1.stop();
}

void LightWindow::Timer1_Timer() {
    const SharedState& state = m_context.state;
    const LightReadout readout = lightReadout(state.Unit, state.Value, m_txtDistance->text());
    if (readout.clearDistance)
        m_txtDistance->clear();
    showText(m_lblUnit, readout.unit);
    showText(m_lblLight, readout.reading);
    showText(m_lblMf, readout.distanceUnit);
    showText(m_lblCd, readout.candela);
}

void LightWindow::Form_Unload() {
    m_timer1.stop();
    m_context.state.LightOn = false;
}
