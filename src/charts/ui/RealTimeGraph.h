#pragma once

#include "charts/GraphSweep.h"
#include "charts/ui/ChartWindow.h"

#include <QTimer>
#include <functional>

// The live reading as a sweeping trace, like a chart recorder whose pen runs from left to
// right across the plot area and starts again at the left edge. Timer1 plots whatever the poll
// last left in Value; the window closes itself when the meter's unit or range changes.
class RealTimeGraph : public ChartWindow {
    Q_OBJECT
public:
    // Form_Load: placed beside the main window at the top of the screen.
    RealTimeGraph(AppContext& context, WindowOwner& owner);
    ~RealTimeGraph() override;

    // What the openers do once the window shows: Timer1 takes the poll's interval and runs.
    void start(int intervalMs);

    void Timer1_Timer();
    QTimer& timer1() { return m_timer1; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void Form_Unload() override;
    void showRangeDialog() override;
    // The chart without the sweep's red front.
    std::optional<QImage> pictureToSave(const QImage& shown) override;

private:
    void Form_Resize();
    void switchTimer();

    QTimer m_timer1;
    bool m_enabled = false;
    bool m_unloaded = false;
    // What the last tick drew on: the next tick's grid redraws over part of it.
    QRect m_lastTick;
    ReadingFreshness m_freshness;
};
