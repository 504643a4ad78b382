#include "charts/ui/RealTimeGraph.h"

#include "charts/ChartDrawing.h"
#include "charts/ChartScale.h"
#include "charts/GraphSweep.h"
#include "charts/ui/ChartNames.h"
#include "charts/ui/RealTimeRange.h"
#include "common/AppContext.h"
#include "common/SharedState.h"
#include "common/ui/WindowOwner.h"
#include "link/Clock.h"

#include <QPainter>
#include <QResizeEvent>

namespace {

constexpr QSize kGraphClientSize(349, 364);

QFont graphFont() {
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSizeF(8.25);
    return font;
}

} // namespace

RealTimeGraph::RealTimeGraph(AppContext& context, WindowOwner& owner)
    : ChartWindow(context, owner, "RealTimeGraph", "Real Time Graph ", kGraphClientSize) {
    setFont(graphFont());
    // The smallest outer size of 357 x 391 pixels, less the frame around the client area.
    setMinimumSize(kGraphClientSize);
    move(besidePanel());
    SharedState& s = m_context.state;
    s.GridColour = kGridColourIndex;
    s.GraphX = -s.GraphStep;

    m_timer1.setObjectName(QStringLiteral("Timer1"));
    // The sweep goes on while a record plot holds the other timers off: it follows the clock,
    // and a reading that is not fresh meanwhile breaks the trace rather than stopping it.
    connect(&m_timer1, &QTimer::timeout, this, &RealTimeGraph::Timer1_Timer);
}

RealTimeGraph::~RealTimeGraph() = default;

void RealTimeGraph::start(int intervalMs) {
    m_timer1.setInterval(intervalMs);
    m_enabled = true;
    switchTimer();
}

void RealTimeGraph::switchTimer() {
    if (m_enabled && !m_unloaded)
        m_timer1.start();
    else
        m_timer1.stop();
}

void RealTimeGraph::resizeEvent(QResizeEvent* event) {
    ChartWindow::resizeEvent(event);
    // Without a window manager nothing holds the minimum size: the graph snaps back itself.
    if (width() < kGraphClientSize.width() || height() < kGraphClientSize.height()) {
        resize(size().expandedTo(kGraphClientSize));
        return;
    }
    Form_Resize();
}

void RealTimeGraph::Form_Resize() {
    if (size().isEmpty())
        return;
    SharedState& s = m_context.state;
    clearImage();
    s.GraphLayout = ComputeChartLayout(static_cast<float>(width()), static_cast<float>(height()));
    const ChartLayout& l = s.GraphLayout;
    QPainter painter;
    beginDrawing(painter);
    DrawChartFrame(painter, l, s.GraphBottom, s.GraphTop, s.Unit);
    fillBox(painter, {l.AxisX, l.Baseline}, {l.AxisX + l.PlotWidth, l.Baseline - l.PlotHeight},
            paletteColour(15));
    painter.end();
    s.GraphPrevX = 0;
    s.GraphX = -s.GraphStep;
    // The first tick draws the grid on the cleared plot area.
    m_lastTick = m_image.rect();
    update();
}

void RealTimeGraph::Timer1_Timer() {
    SharedState& s = m_context.state;
    if (s.Unit != s.RefUnit || s.Range != s.RefRange) {
        close();
        m_owner.close(kRealTimeRange);
        return;
    }
    if (m_image.isNull())
        return;
    QPainter painter;
    beginDrawing(painter);
    const QString timeOfDay = m_context.clock.wallNow().time().toString(QStringLiteral("hh:mm:ss"));
    const bool fresh = m_freshness.fresh(s.FrameCount, m_context.clock.monotonic());
    const QRect drawn = drawSweepTick(painter, s, s, timeOfDay, fresh);
    painter.end();
    update(drawn | m_lastTick);
    m_lastTick = drawn;
}

void RealTimeGraph::Form_Unload() {
    m_unloaded = true;
    m_timer1.stop();
}

void RealTimeGraph::showRangeDialog() {
    m_owner.openOrRaise<RealTimeRange>(kRealTimeRange,
                                       [this] { return new RealTimeRange(m_context, m_owner); });
}

std::optional<QImage> RealTimeGraph::pictureToSave(const QImage& shown) {
    return withoutSweepFront(shown, m_context.state);
}
