#include "charts/ui/ListPlot.h"

#include "charts/ChartDrawing.h"
#include "charts/ChartScale.h"
#include "charts/PlotExplorer.h"
#include "charts/PlotPicture.h"
#include "charts/RecordPlot.h"
#include "charts/SpanStatistics.h"
#include "charts/ui/ChartNames.h"
#include "charts/ui/PlotRange.h"
#include "charts/ui/SpanStatisticsWindow.h"
#include "common/AppContext.h"
#include "common/Dialogs.h"
#include "common/SharedState.h"
#include "common/ui/WindowOwner.h"
#include "records/RecordTableModel.h"

#include <QAction>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <cmath>
#include <exception>

namespace {

constexpr QSize kClientSize(392, 364);
// A slice plots for about this long before events run again: the caption counts a few dozen
// times a second and the window answers at once.
constexpr qint64 kSliceMs = 25;
constexpr long long kRecordsBetweenClockReads = 4096;

} // namespace

ListPlot::ListPlot(AppContext& context, WindowOwner& owner, const RecordTableModel* records)
    : ChartWindow(context, owner, "ListPlot", "Plot Data/File ", kClientSize)
    , m_records(records) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    setFont(font);
    setMouseTracking(true);
    move(besidePanel());
    m_context.state.GridColour = kGridColourIndex;
    m_slices.setSingleShot(true);
    m_slices.setInterval(0);
    connect(&m_slices, &QTimer::timeout, this, [this] { plotSlice(kSliceMs); });
    setFocusPolicy(Qt::StrongFocus);
    m_timeAxisButton = addToolbarButton(QStringLiteral("TimeAxis"), QStringLiteral("Time Axis"));
    m_timeAxisButton->setCheckable(true);
    connect(m_timeAxisButton, &QAction::toggled, this, &ListPlot::showTimeAxis);
    m_statisticsButton =
        addToolbarButton(QStringLiteral("Statistics"), QStringLiteral("Statistics"));
    m_statisticsButton->setCheckable(true);
    connect(m_statisticsButton, &QAction::toggled, this, &ListPlot::showSpanStatistics);
}

ListPlot::~ListPlot() = default;

void ListPlot::resizeEvent(QResizeEvent* event) {
    ChartWindow::resizeEvent(event);
    // The smallest outer size of 400 x 391 pixels, less the frame around the client area;
    // both sides snap back together and the size change draws.
    if (width() < kClientSize.width() || height() < kClientSize.height()) {
        resize(kClientSize);
        return;
    }
    Form_Resize();
}

void ListPlot::Form_Resize() {
    SharedState& s = m_context.state;
    clearImage();
    s.PlotLayout = ComputeChartLayout(static_cast<float>(width()), static_cast<float>(height()));
    s.PlotStep = s.PlotLayout.PlotWidth / s.PlotCount;
    s.PlotX = -s.PlotStep;
    QPainter painter;
    beginDrawing(painter);
    DrawChartFrame(painter, s.PlotLayout, s.PlotBottom, s.PlotTop, s.PlotUnit);
    painter.end();
    s.PlotPrevX = 0;
    update();
    PlotGrid();
}

void ListPlot::PlotGrid() {
    // A live list grows while its plot is open.
    if (m_context.state.PlotTimeAxis && m_records)
        m_times.update(*m_records);
    m_explorer.follow(m_context.state);
    m_slices.stop();
    m_plotter.reset();
    m_span.reset();
    showReadout(std::nullopt);
    std::optional<QString> problem;
    if (m_context.state.PlotCount >= 1) {
        if (m_records) {
            auto plotter =
                std::make_unique<RecordPlotter>(*m_records, m_values, m_context.state, &m_times);
            problem = plotter->problem();
            if (!problem) {
                m_plotter = std::move(plotter);
                m_span = plotSpanOf(m_context.state, &m_times);
            }
        } else {
            problem = QStringLiteral("The plot cannot be drawn: its list has been closed.");
        }
    }
    if (!m_plotter) {
        endPlot(problem);
        return;
    }
    // A plot that a resize restarts keeps the pause of the one it replaces.
    if (!m_pause)
        m_pause = std::make_unique<ScopedPause>(m_context.timers);
    // The first slice is one batch: the frame and the caption show before the bulk is drawn.
    plotSlice(0);
}

void ListPlot::plotSlice(qint64 sliceMs) {
    if (!m_plotter)
        return;
    if (!m_records) {
        endPlot(QStringLiteral("The plot stopped: its list has been closed."));
        return;
    }
    std::optional<QString> failure;
    {
        QPainter painter;
        beginDrawing(painter);
        QElapsedTimer slice;
        slice.start();
        try {
            do {
                m_plotter->plotNext(painter, kRecordsBetweenClockReads);
            } while (!m_plotter->finished() && slice.elapsed() < sliceMs);
        } catch (const std::exception& e) {
            failure = QStringLiteral("The plot stopped: ") + QString::fromLocal8Bit(e.what());
        }
    }
    SharedState& s = m_context.state;
    s.PlotX = m_plotter->plotX();
    s.PlotPrevX = m_plotter->prevX();
    update();
    if (failure || m_plotter->finished()) {
        if (failure)
            m_span.reset();
        endPlot(failure);
        return;
    }
    setWindowTitle(QString::number(m_plotter->lastRow()) + QStringLiteral(" Records Completed"));
    m_slices.start();
}

void ListPlot::endPlot(const std::optional<QString>& failure) {
    m_slices.stop();
    const bool ended = m_plotter || m_pause;
    m_plotter.reset();
    setWindowTitle(m_explorer.caption(m_caption, m_context.state));
    m_pause.reset();
    refreshSpanStatistics();
    if (ended)
        emit plotEnded();
    if (failure) {
        whileRunning([&] { m_context.dialogs.message(*failure, {}, Dialogs::Icon::Critical); });
    }
}

void ListPlot::paintEvent(QPaintEvent* event) {
    ChartWindow::paintEvent(event);
    if (m_selecting && m_dragStart) {
        QPainter painter(this);
        drawSpanSelection(painter, m_context.state.PlotLayout, m_dragStart->x(), m_dragAt.x());
    }
    if (!m_readout)
        return;
    QPainter painter(this);
    drawPlotReadout(painter, *m_readout, m_pointer, rect());
}

void ListPlot::leaveEvent(QEvent* event) {
    showReadout(std::nullopt);
    ChartWindow::leaveEvent(event);
}

void ListPlot::showReadout(std::optional<QPointF> pointer) {
    std::optional<PlotReadout> readout;
    if (pointer && m_span && !plotting() && m_records)
        readout = plotReadout(*m_span, *m_records, *pointer);
    if (!readout && !m_readout)
        return;
    update(m_readoutBounds);
    m_readout = std::move(readout);
    if (!m_readout)
        return;
    m_pointer = *pointer;
    m_readoutBounds = plotReadoutBounds(font(), *m_readout, m_pointer, rect());
    update(m_readoutBounds);
}

void ListPlot::Form_Unload() {
    m_slices.stop();
    m_plotter.reset();
    m_pause.reset();
    if (m_statistics)
        m_statistics->close();
}

std::optional<QImage> ListPlot::pictureToSave(const QImage&) {
    if (!m_records || plotting())
        return std::nullopt;
    const std::optional<QString> typed = m_context.dialogs.input(
        QStringLiteral("Picture size in pixels, width x height (up to 4096 x 4096):"),
        QStringLiteral("Save Picture"), QStringLiteral("%1 x %2").arg(width()).arg(height()));
    if (!typed)
        return std::nullopt;
    const std::optional<QSize> size = parsePictureSize(*typed);
    if (!size) {
        m_context.dialogs.message(QStringLiteral("Invalid size, try again!"), {},
                                  Dialogs::Icon::Critical);
        return std::nullopt;
    }
    QStringList lines = {plotPictureTitle(m_context.state, *m_records)};
    if (m_statistics)
        lines << spanStatisticsLine(m_explorer.statistics(*m_records, m_context.state));
    return plotPicture(*m_records, m_context.state, *size, lines, font(), &m_times);
}

void ListPlot::showRangeDialog() {
    m_owner.openOrRaise<PlotRange>(
        kPlotRange, [this] { return new PlotRange(m_context, m_owner, m_records); },
        [this](PlotRange& dialog) {
            dialog.show();
            dialog.setWindowTitle(QStringLiteral("Plot Range ( ") + m_context.state.PlotUnit +
                                  QStringLiteral(" )"));
        });
}
