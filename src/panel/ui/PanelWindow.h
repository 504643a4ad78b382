#pragma once

#include "common/AppContext.h"
#include "common/PauseGate.h"
#include "common/ui/WindowOwner.h"
#include "common/ui/WindowPlaces.h"
#include "panel/LiveDisplay.h"
#include "panel/MeterSession.h"
#include "panel/PcRecorder.h"
#include "panel/ui/PanelCommands.h"

#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

class QLabel;
class QToolBar;
class QAction;

// The main window: the layout of the meter's live reading and its toolbar, and the view of the
// poll and the recording. The port, the poll and the sampling live in MeterSession, the
// toolbar's branches in PanelCommands, PC recording in PcRecorder, and the secondary windows
// with the WindowOwner.
class PanelWindow : public QWidget, private RecordingView {
    Q_OBJECT
public:
    using PortFactory = MeterSession::PortFactory;

    PanelWindow(AppContext& context, PortFactory portFactory, QWidget* parent = nullptr);
    ~PanelWindow() override;

    // Opens the port and starts polling; false after the failure message (the program ends).
    bool Form_Load();

    void Timer1_Timer();
    void Timer2_Timer();
    void Toolbar1_ButtonClick(const QString& key);
    void LblCOM_Click();

    QTimer& timer1() { return m_session.poll().timer(); }
    QTimer& timer2() { return m_session.sampling().timer(); }
    WindowOwner& windows() { return m_windows; }
    PanelCommands& commands() { return m_commands; }

signals:
    // The program ends: the failure path of the load, or the window was closed.
    void programEnded();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildToolbar();
    void showLiveDisplay();
    void showPortLabel(const QString& text);
    void Form_Unload();
    void pollDecoded();

    // RecordingView
    void showRecording(const QString& fileName) override;
    void showNotRecording() override;
    void showRecordCount(const QString& count) override;
    void clearRecordingLabels() override;
    void showRecordingEnded(const QString& reason, bool failed) override;

    AppContext& m_context;
    WindowPlaces m_places;
    WindowOwner m_windows;
    PcRecorder m_recorder;
    PanelCommands m_commands;
    MeterSession m_session;
    LiveDisplay m_display;
    bool m_unloaded = false;

    QToolBar* m_toolbar = nullptr;
    QAction* m_saveButton = nullptr;
    QLabel* m_lblValue = nullptr;
    QLabel* m_lblRange = nullptr;
    QLabel* m_lblLux = nullptr;
    QLabel* m_lblFc = nullptr;
    QLabel* m_lblMax = nullptr;
    QLabel* m_lblH = nullptr;
    QLabel* m_lblR = nullptr;
    QLabel* m_lblFull = nullptr;
    QLabel* m_imgBt = nullptr;
    QLabel* m_lblOver = nullptr;
    QLabel* m_lblUnder = nullptr;
    QLabel* m_lblCount = nullptr;
    QLabel* m_lblRec = nullptr;
    QLabel* m_lblFileName = nullptr;
    QLabel* m_lblCom = nullptr;
    QLabel* m_lblName = nullptr;

    // What the main window lends the other windows, for its lifetime.
    ScopedHook<std::function<QRect()>> m_frameHook;
    ScopedHook<std::function<int()>> m_intervalHook;
    ScopedHook<std::function<void(const QString&)>> m_portLabelHook;
};
