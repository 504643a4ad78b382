#pragma once

#include "common/PauseGate.h"

#include "common/ui/SecondaryWindow.h"
#include "tools/ReadingStatistics.h"

#include <QTimer>
#include <optional>

class QLabel;
class QPushButton;
struct AppContext;

// "Max/Min/AVG": maximum, minimum and average of the live reading, the number of readings and
// of "OL" frames, and the time since the statistics started, refreshed at the poll's pace. It
// only reads the shared live reading; its timer is held off, with the poll, while a long plot
// draws.
class StatisticsWindow : public SecondaryWindow {
    Q_OBJECT
public:
    explicit StatisticsWindow(AppContext& context);
    ~StatisticsWindow() override;

    // Places the window beside the main window and starts Timer1 at the poll's interval.
    void Form_Load();
    void Timer1_Timer();
    void CmdReset_Click();

    QTimer& timer1() { return m_timer1; }

protected:
    void Form_Unload() override;

private:
    void buildControls();
    void setTimerRunning(bool running);
    void showStatistics();

    AppContext& m_context;
    ReadingStatistics m_statistics;
    QTimer m_timer1;

    QLabel* m_lblMax = nullptr;
    QLabel* m_lblMin = nullptr;
    QLabel* m_lblAvg = nullptr;
    QLabel* m_lblCount = nullptr;
    QLabel* m_lblOverloads = nullptr;
    QLabel* m_lblTime = nullptr;
    QLabel* m_lblNote = nullptr;
    std::optional<ScopedSwitch> m_timersSwitch;
};
