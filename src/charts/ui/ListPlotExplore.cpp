// The record plot's exploring: zoom and pan, the clock-time axis, the span's statistics.

#include "charts/PlotExplorer.h"
#include "charts/SpanStatistics.h"
#include "charts/TimeAxis.h"
#include "charts/ui/ListPlot.h"
#include "charts/ui/SpanStatisticsWindow.h"
#include "common/AppContext.h"
#include "common/Dialogs.h"
#include "common/SharedState.h"
#include "records/RecordTableModel.h"

#include <QAction>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <cmath>

namespace {

// A press that moves less than this is a click, not a drag.
constexpr double kDragPixels = 3;

} // namespace

void ListPlot::showView() {
    if (m_explorer.show(m_context.state))
        Form_Resize();
}

double ListPlot::positionAt(double x) const {
    return m_explorer.positionAt(m_context.state, x);
}

void ListPlot::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0 || m_explorer.zoom().count() < 2) {
        ChartWindow::wheelEvent(event);
        return;
    }
    m_explorer.zoom().wheel(positionAt(event->position().x()), notches);
    showView();
    event->accept();
}

void ListPlot::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_dragStart = event->position();
        m_dragAt = event->position();
        m_selecting = event->modifiers().testFlag(Qt::ShiftModifier);
    }
    ChartWindow::mousePressEvent(event);
}

void ListPlot::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragStart && event->buttons().testFlag(Qt::LeftButton)) {
        const QPointF at = event->position();
        if (m_selecting) {
            const QRect before = QRectF(*m_dragStart, m_dragAt).normalized().toAlignedRect();
            m_dragAt = at;
            update(
                before.adjusted(-1, -1, 1, 1) |
                QRectF(*m_dragStart, m_dragAt).normalized().toAlignedRect().adjusted(-1, -1, 1, 1));
        } else if (!m_explorer.zoom().showsWhole()) {
            // The records under the pointer go with it.
            m_explorer.zoom().pan(positionAt(m_dragAt.x()) - positionAt(at.x()));
            m_dragAt = at;
            showView();
        }
        return;
    }
    showReadout(event->position());
    ChartWindow::mouseMoveEvent(event);
}

void ListPlot::mouseReleaseEvent(QMouseEvent* event) {
    if (m_dragStart && event->button() == Qt::LeftButton) {
        const QPointF from = *m_dragStart;
        m_dragStart.reset();
        if (m_selecting) {
            m_selecting = false;
            update();
            if (std::abs(event->position().x() - from.x()) >= kDragPixels) {
                m_explorer.zoom().select(positionAt(from.x()), positionAt(event->position().x()));
                showView();
            }
        }
    }
    ChartWindow::mouseReleaseEvent(event);
}

void ListPlot::mouseDoubleClickEvent(QMouseEvent* event) {
    m_explorer.zoom().home();
    showView();
    event->accept();
}

void ListPlot::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Home:
        m_explorer.zoom().home();
        break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        m_explorer.zoom().zoomAtCentre(PlotZoom::kWheelFactor);
        break;
    case Qt::Key_Minus:
        m_explorer.zoom().zoomAtCentre(1 / PlotZoom::kWheelFactor);
        break;
    default:
        ChartWindow::keyPressEvent(event);
        return;
    }
    showView();
    event->accept();
}

void ListPlot::showSpanStatistics(bool shown) {
    if (!shown) {
        if (m_statistics)
            m_statistics->close();
        return;
    }
    if (!m_statistics) {
        // Closed by itself, the button comes up again.
        m_statistics = SpanStatisticsWindow::openBeside(m_owner, *this, [this] {
            const QSignalBlocker quiet(m_statisticsButton);
            m_statisticsButton->setChecked(false);
        });
    }
    refreshSpanStatistics();
    m_statistics->show();
    m_statistics->raise();
}

void ListPlot::refreshSpanStatistics() {
    if (m_statistics && m_records)
        m_statistics->showStatistics(m_explorer.statistics(*m_records, m_context.state));
}

void ListPlot::showTimeAxis(bool on) {
    if (!m_records || plotting()) {
        const QSignalBlocker quiet(m_timeAxisButton);
        m_timeAxisButton->setChecked(m_explorer.timeAxis());
        return;
    }
    if (on) {
        m_times.update(*m_records);
        if (m_interval < 0)
            m_interval = samplingInterval(*m_records);
    }
    if (!m_explorer.setTimeAxis(on, m_times, m_context.state, std::max(m_interval, 0.0))) {
        const QSignalBlocker quiet(m_timeAxisButton);
        m_timeAxisButton->setChecked(false);
        whileRunning([&] {
            m_context.dialogs.message(
                QStringLiteral("The times of these records cannot be read: they stay evenly "
                               "spread."),
                {}, Dialogs::Icon::Information);
        });
        return;
    }
    Form_Resize();
}
