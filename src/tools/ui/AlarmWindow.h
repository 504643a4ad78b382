#pragma once

#include "common/ui/SecondaryWindow.h"

class QLineEdit;
class QPushButton;
class QRadioButton;
struct AppContext;

// "Alarm": high and low limits for LUX or Fc, and the switch that turns the alarm on or off.
// The main window's live cycle does the alarming; this window only sets it up. Not modal.
class AlarmWindow : public SecondaryWindow {
    Q_OBJECT
public:
    explicit AlarmWindow(AppContext& context);

    // Places the window beside the main window, where the alarm marks stay in sight, and shows the
    // settings of AlarmUnit.
    void Form_Load();
    // Selects the option of AlarmUnit and shows its limits; keeps what the window shows for any
    // other unit.
    void showAlarmUnit();

    void OptLUX_Click();
    void OptFc_Click();
    void CmdOK_Click();
    void CmdDisable_Click();

private:
    void buildControls();

    AppContext& m_context;
    bool m_enabling = false;

    QRadioButton* m_optLux = nullptr;
    QRadioButton* m_optFc = nullptr;
    QLineEdit* m_tth = nullptr;
    QLineEdit* m_ttl = nullptr;
    QPushButton* m_cmdOk = nullptr;
    QPushButton* m_cmdDisable = nullptr;
};
