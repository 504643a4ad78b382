#pragma once

#include "common/PauseGate.h"

#include "common/ui/SecondaryWindow.h"

#include <QTimer>
#include <optional>

class QLabel;
class QLineEdit;
struct AppContext;

// "Luminous Intensity - Candela ( cd )": the live reading and a typed distance turned into the
// light source's intensity, refreshed at the poll's pace. It only reads the shared live
// reading; it never talks to the meter. Its timer is held off, with the poll, while a long plot
// draws. Closing it clears LightOn.
class LightWindow : public SecondaryWindow {
    Q_OBJECT
public:
    explicit LightWindow(AppContext& context);
    ~LightWindow() override;

    // Places the window below the main window and starts Timer1 at the poll's interval.
    void Form_Load();
    void Timer1_Timer();

    QTimer& timer1() { return m_timer1; }

protected:
    void Form_Unload() override;

private:
    void buildControls();
    void setTimerRunning(bool running);

    AppContext& m_context;
    QTimer m_timer1;

    QLineEdit* m_txtDistance = nullptr;
    QLabel* m_lblMf = nullptr;
    QLabel* m_lblLight = nullptr;
    QLabel* m_lblUnit = nullptr;
    QLabel* m_lblCd = nullptr;
    std::optional<ScopedSwitch> m_timersSwitch;
};
