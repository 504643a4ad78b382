#include "tools/ui/StatisticsWindow.h"

#include "common/AppContext.h"
#include "common/SharedState.h"
#include "common/ui/ValueLabel.h"
#include "link/Clock.h"

#include <QLabel>
#include <QPushButton>

namespace {

constexpr int kStatsFallbackInterval = 50;
constexpr int kStatsWidth = 250;
constexpr int kStatsMargin = 8;
constexpr int kCaptionWidth = 90;
constexpr int kStatsRowHeight = 22;

} // namespace

StatisticsWindow::StatisticsWindow(AppContext& context)
    : m_context(context)
    , m_statistics(context.state, context.clock.monotonic()) {
    setObjectName(QStringLiteral("Statistics"));
    setWindowTitle(QStringLiteral("Max/Min/AVG"));
    setFont(QFont(QStringLiteral("Arial"), 10));
    buildControls();

    m_timer1.setObjectName(QStringLiteral("Timer1"));
    connect(&m_timer1, &QTimer::timeout, this, &StatisticsWindow::Timer1_Timer);
    m_timersSwitch.emplace(m_context.timers, [this](bool running) { setTimerRunning(running); });
}

StatisticsWindow::~StatisticsWindow() = default;

void StatisticsWindow::buildControls() {
    int y = kStatsMargin;
    auto row = [this, &y](const char* name, const QString& caption) {
        auto* label = new QLabel(caption, this);
        label->setGeometry(kStatsMargin, y, kCaptionWidth, kStatsRowHeight);
        auto* value = new QLabel(this);
        value->setObjectName(QString::fromLatin1(name));
        value->setAccessibleDescription(caption);
        value->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        value->setAlignment(Qt::AlignVCenter | Qt::AlignRight);
        value->setGeometry(kStatsMargin + kCaptionWidth, y,
                           kStatsWidth - 2 * kStatsMargin - kCaptionWidth, kStatsRowHeight);
        QPalette palette = value->palette();
        palette.setColor(QPalette::Window, Qt::white);
        value->setPalette(palette);
        value->setAutoFillBackground(true);
        y += kStatsRowHeight + 4;
        return value;
    };
    m_lblMax = row("LblMax", QStringLiteral("Maximum"));
    m_lblMin = row("LblMin", QStringLiteral("Minimum"));
    m_lblAvg = row("LblAvg", QStringLiteral("Average"));
    m_lblCount = row("LblCount", QStringLiteral("Readings"));
    m_lblOverloads = row("LblOL", QStringLiteral("OL readings"));
    m_lblTime = row("LblTime", QStringLiteral("Time"));

    m_lblNote = new QLabel(this);
    m_lblNote->setObjectName(QStringLiteral("LblNote"));
    m_lblNote->setAccessibleDescription(QStringLiteral("Note"));
    m_lblNote->setGeometry(kStatsMargin, y, kStatsWidth - 2 * kStatsMargin, kStatsRowHeight);
    y += kStatsRowHeight + 4;

    auto* reset = new QPushButton(QStringLiteral("Reset"), this);
    reset->setObjectName(QStringLiteral("CmdReset"));
    reset->setGeometry(kStatsWidth - kStatsMargin - 90, y, 90, 28);
    connect(reset, &QPushButton::clicked, this, &StatisticsWindow::CmdReset_Click);
    setFixedSize(kStatsWidth, y + 28 + kStatsMargin);
}

void StatisticsWindow::Form_Load() {
    if (m_context.panelFrame) {
        const QRect panel = m_context.panelFrame();
        move(panel.x() + panel.width(), panel.y() + panel.height());
    }
    m_timer1.setInterval(m_context.pollInterval ? m_context.pollInterval()
                                                : kStatsFallbackInterval);
    setTimerRunning(!m_context.timers.paused());
    showStatistics();
}

void StatisticsWindow::setTimerRunning(bool running) {
    if (running && !closing())
        m_timer1.start();
    else
        m_timer1.stop();
}

void StatisticsWindow::Timer1_Timer() {
    const ReadingStatistics::Event event = m_statistics.update(m_context.clock.monotonic());
    const QString note = restartNote(event, m_statistics);
    if (!note.isEmpty())
        showText(m_lblNote, note);
    showStatistics();
}

void StatisticsWindow::CmdReset_Click() {
    m_statistics.reset(m_context.clock.monotonic());
    m_lblNote->clear();
    showStatistics();
}

void StatisticsWindow::showStatistics() {
    const StatisticsTexts texts = statisticsTexts(m_statistics, m_context.clock.monotonic());
    showText(m_lblMax, texts.maximum);
    showText(m_lblMin, texts.minimum);
    showText(m_lblAvg, texts.average);
    showText(m_lblCount, texts.count);
    showText(m_lblOverloads, texts.overloads);
    showText(m_lblTime, texts.elapsed);
}

void StatisticsWindow::Form_Unload() {
    m_timer1.stop();
}
