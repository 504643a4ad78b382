#pragma once

#include "tools/MeterClock.h"

#include "common/ui/SecondaryWindow.h"

#include <QTimer>

class QLabel;
class QPushButton;
struct AppContext;

// "Setup": the meter's clock beside the PC clock, and the button that sets the one to the
// other. Modal; the live poll stays paused from its opening until it closes. Each label shows
// its caption until clicked, and the meter is asked for its time only while its label shows it.
class SetupWindow : public SecondaryWindow, private ClockView {
    Q_OBJECT
public:
    explicit SetupWindow(AppContext& context);
    ~SetupWindow() override;

    // Centres the window over the main window, 1000 twips below its top, and starts Timer1.
    void Form_Load();

    void Timer1_Timer();
    void LblMeterTime_Click();
    void LblPCTime_Click();
    void CmdSetTime_Click();
    void CmdExit_Click();

    QTimer& timer1() { return m_timer1; }
    const MeterClock& meterClock() const { return m_clock; }

protected:
    void Form_Unload() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();

    // ClockView
    bool closed() const override { return closing(); }
    void setMeterTimeText(const QString& text) override;
    void setPcTimeText(const QString& text) override;

    AppContext& m_context;
    MeterClock m_clock;
    QTimer m_timer1;

    QLabel* m_lblMeterTime = nullptr;
    QLabel* m_lblPcTime = nullptr;
    QPushButton* m_cmdSetTime = nullptr;
    QPushButton* m_cmdExit = nullptr;
};
