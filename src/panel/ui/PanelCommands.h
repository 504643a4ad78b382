#pragma once

#include <QPointer>
#include <QString>
#include <span>

class PcRecorder;
class RealTimeList;
class RecordListWindow;
class WindowOwner;
struct AppContext;

// The branches of the main window's toolbar, one per button key, and the windows they open.
class PanelCommands {
public:
    struct Button {
        const char* key;
        const char* tooltip;
        // The key that clicks it while the main window is active ("Ctrl+S"); null for none.
        const char* shortcut;
        // The branch; null for the buttons that only lend button 1 their picture, or do nothing.
        void (PanelCommands::*run)();
    };
    // The twelve buttons in their order on the toolbar.
    static std::span<const Button> buttons();

    PanelCommands(AppContext& context, WindowOwner& owner, PcRecorder& recorder);

    // Toolbar1_ButtonClick: runs the branch of the key; other keys do nothing.
    void run(const QString& key);

    // The live list that collects the samples, if one does.
    RealTimeList* liveList() const;
    // The sampling tick ended the live list: it stops collecting, stays open and says why.
    void endLiveList(const QString& reason);

    void save();
    void open();
    void list();
    void graph();
    void statistics();
    void samplingTime();
    void memory();
    void light();
    void timeSet();
    void alarm();
    // F1: the help window, opened or brought to the front.
    void help();

private:
    // "Plot" on a list window prepares the plot from that list.
    void connectPlot(RecordListWindow& list);
    void plot(RecordListWindow& list);

    AppContext& m_context;
    WindowOwner& m_owner;
    PcRecorder& m_recorder;
    QPointer<RealTimeList> m_liveList;
};
