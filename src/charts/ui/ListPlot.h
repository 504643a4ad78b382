#pragma once

#include "charts/PlotExplorer.h"
#include "charts/PlotReadout.h"
#include "charts/PlotTimes.h"
#include "charts/PlotValues.h"
#include "charts/ui/ChartWindow.h"

#include <QPointer>
#include <QTimer>
#include <memory>
#include <optional>

class QAction;
class RecordPlotter;
class RecordTableModel;
class ScopedPause;
class SpanStatisticsWindow;

// The records of a list as one connected trace spread evenly across the plot area, with the
// times of the first, the quarter and the last records under it. Every resize plots all chosen
// records again. The plot runs in slices between which events are handled, so the window stays
// responsive; the caption counts the records meanwhile, and the timers that read the live
// reading are suspended until the plot ends, however it ends. Once plotted, the pointer over the
// plot shows the nearest record's number, time and value, drawn over the window and never into
// the chart's image.
//
// The records the plot range chose can be explored: the wheel zooms around the pointer, a drag
// pans, Shift and a drag zooms into a span, + and - zoom around the middle, Home or a double
// click shows them all again; the caption says which records are shown. "Time Axis" puts each
// record at its time, the trace broken where the meter stopped logging. "Statistics" shows the
// figures of the records in view beside the plot.
class ListPlot : public ChartWindow {
    Q_OBJECT
public:
    // Form_Load: placed beside the main window at the top of the screen. `records` is the grid
    // of the list whose Plot was clicked; the plot says so if that list has gone when it draws.
    ListPlot(AppContext& context, WindowOwner& owner, const RecordTableModel* records);
    ~ListPlot() override;

    bool plotting() const { return m_plotter != nullptr; }
    // What the pointer shows now, if anything.
    const std::optional<PlotReadout>& readout() const { return m_readout; }
    // The view of the records the plot range chose (indexes from 0 within them).
    const PlotZoom& zoom() const { return m_explorer.zoom(); }

signals:
    // A plot ended: all records drawn, or given up.
    void plotEnded();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void Form_Unload() override;
    void showRangeDialog() override;
    // Asks for the size and draws the records shown afresh at it, under a title line and, while
    // the statistics show, a line of them.
    std::optional<QImage> pictureToSave(const QImage& shown) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void Form_Resize();
    void PlotGrid();
    // Plots records for about `sliceMs` (one batch at least), then lets events run.
    void plotSlice(qint64 sliceMs);
    void endPlot(const std::optional<QString>& failure);
    void showReadout(std::optional<QPointF> pointer);
    // Plots the zoom's view.
    void showView();
    double positionAt(double x) const;
    void showSpanStatistics(bool shown);
    void showTimeAxis(bool on);
    void refreshSpanStatistics();

    QPointer<const RecordTableModel> m_records;
    std::unique_ptr<RecordPlotter> m_plotter;
    std::unique_ptr<ScopedPause> m_pause;
    QTimer m_slices;
    // Where the plot on the image put its records; none while nothing was plotted.
    std::optional<PlotSpan> m_span;
    std::optional<PlotReadout> m_readout;
    QPointF m_pointer;
    QRect m_readoutBounds;

    PlotExplorer m_explorer;
    // The list's values, read once and kept for every replot: resizes, zoom and pan steps.
    PlotValues m_values;
    // A drag under way: where it was last, and whether it selects a span rather than pans.
    std::optional<QPointF> m_dragStart;
    QPointF m_dragAt;
    bool m_selecting = false;
    // The list's times, read when the clock-time axis is first asked for, and its sampling
    // interval (-1 until read).
    PlotTimes m_times;
    double m_interval = -1;
    QAction* m_timeAxisButton = nullptr;
    QAction* m_statisticsButton = nullptr;
    QPointer<SpanStatisticsWindow> m_statistics;
};
