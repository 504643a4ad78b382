#pragma once

#include "panel/LiveDisplay.h"
#include "panel/SamplingTick.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QToolBar;
class QAction;
class FileList;
class MemoryWindow;
class PollCycle;
class RealTimeList;
class RecordWriter;
class Value;
class SerialPort;
struct AppContext;

// The main window: the meter's live reading, its toolbar, the poll and sampling cycles.
class PanelWindow : public QWidget, private SampleSinks {
    Q_OBJECT
public:
    using PortFactory = std::function<std::unique_ptr<SerialPort>(const AppContext&)>;

    PanelWindow(AppContext& context, PortFactory portFactory, QWidget* parent = nullptr);
    ~PanelWindow() override;

    // Opens the port and starts polling; false after the failure message (the program ends).
    bool Form_Load();

    void Timer1_Timer();
    void Timer2_Timer();
    void Toolbar1_ButtonClick(const QString& key);
    void LblCOM_Click();

    QTimer& timer1() { return m_timer1; }
    QTimer& timer2() { return m_timer2; }
    // Timer1.Enabled; switching it off also ends a poll tick suspended in a wait, so that the
    // exchange that switched it off has the line to itself.
    void setPollEnabled(bool enabled);

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
    void Form_Unload();
    // The meter's ID code from its settings, the live poll paused meanwhile; nullopt (after the
    // message) when the meter does not answer.
    std::optional<Value> readMeterId();
    void saveButton();
    void stopRecording();
    void listButton();
    void showNotRecording();

    // SampleSinks
    bool writeRecordLine(const QString& line) override;
    void recordingStopped(StopReason reason) override;
    void showRecordCount(const QString& count) override;
    void clearRecordingLabels() override;
    void addListRow(const QString& row) override;
    void listEnded() override;

    AppContext& m_context;
    PortFactory m_portFactory;
    std::unique_ptr<SerialPort> m_port;
    std::unique_ptr<PollCycle> m_poll;
    std::unique_ptr<RecordWriter> m_recordFile;
    LiveDisplay m_display;
    QTimer m_timer1;
    QTimer m_timer2;
    bool m_inTimer1 = false;
    bool m_timer1Missed = false;
    bool m_inTimer2 = false;
    quint64 m_pollGeneration = 0;
    bool m_unloaded = false;

    QPointer<RealTimeList> m_realTimeList;
    QPointer<FileList> m_fileList;
    QPointer<MemoryWindow> m_memory;

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
};
