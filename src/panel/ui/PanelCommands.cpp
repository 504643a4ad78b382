#include "panel/ui/PanelCommands.h"

#include "charts/PlotPreparation.h"
#include "charts/ui/ChartNames.h"
#include "charts/ui/OpenCharts.h"
#include "common/AppContext.h"
#include "common/RememberedState.h"
#include "common/SharedState.h"
#include "common/ui/WindowOwner.h"
#include "logger/ui/OpenDataLogger.h"
#include "panel/MeterId.h"
#include "panel/PcRecorder.h"
#include "panel/SamplingTime.h"
#include "panel/ui/HelpWindow.h"
#include "records/RecordFile.h"
#include "records/ui/DataList.h"
#include "records/ui/FileList.h"
#include "records/ui/OpenRecords.h"
#include "records/ui/RealTimeList.h"
#include "tools/ui/OpenTools.h"

namespace {

const QString kRealTimeList = QStringLiteral("RealTimeList");
const QString kHelp = QStringLiteral("Help");

} // namespace

std::span<const PanelCommands::Button> PanelCommands::buttons() {
    static constexpr Button kButtons[] = {
        {"Save", "Save As", "Ctrl+S", &PanelCommands::save},
        {"Open", "Open File", "Ctrl+O", &PanelCommands::open},
        {"List", "List Display", "Ctrl+L", &PanelCommands::list},
        {"Graph", "Graphic Display", "Ctrl+G", &PanelCommands::graph},
        {"AVG", "Max/Min/AVG", nullptr, &PanelCommands::statistics},
        {"PC", "PC Sampling", nullptr, &PanelCommands::samplingTime},
        {"Memory", "Datalogger", "Ctrl+M", &PanelCommands::memory},
        // Button 1 borrows the pictures of these two; they do nothing themselves.
        {"Stop", "Stop Recording", nullptr, nullptr},
        {"Save1", "Save As", nullptr, nullptr},
        {"Light", "Luminous Intensity", nullptr, &PanelCommands::light},
        {"TimeSet", "Set Meter Time to System Time", nullptr, &PanelCommands::timeSet},
        {"Alarm", "Alarm", nullptr, &PanelCommands::alarm},
    };
    return kButtons;
}

PanelCommands::PanelCommands(AppContext& context, WindowOwner& owner, PcRecorder& recorder)
    : m_context(context)
    , m_owner(owner)
    , m_recorder(recorder) {}

void PanelCommands::run(const QString& key) {
    for (const Button& button : buttons()) {
        if (key == QLatin1StringView(button.key)) {
            if (button.run)
                (this->*button.run)();
            return;
        }
    }
}

void PanelCommands::save() {
    m_recorder.saveCommand();
}

void PanelCommands::open() {
    openFileList(m_context, m_owner, [this](FileList& list) { connectPlot(list); });
}

void PanelCommands::list() {
    SharedState& s = m_context.state;
    // A list that ended on its own stays open with its rows; only a collecting one blocks.
    if (liveList() || !m_context.port)
        return;
    const std::optional<Value> id = readMeterId(m_context);
    if (!id || !m_context.port)
        return;
    s.ListID = *id;
    // The exchange let other clicks run: a list may have started meanwhile.
    if (liveList())
        return;
    auto* list = new RealTimeList(m_context);
    list->setCaption(QStringLiteral("Real Time List---") + recordHeader(s.ListID, s.Range, s.Unit));
    m_owner.adopt(kRealTimeList, list, /*keepOpen=*/true);
    m_liveList = list;
    s.RefRange = s.Range;
    s.RefUnit = s.Unit;
    list->show();
    s.ListOn = true;
}

RealTimeList* PanelCommands::liveList() const {
    return m_liveList && m_liveList->collecting() ? m_liveList.data() : nullptr;
}

void PanelCommands::endLiveList(const QString& reason) {
    if (m_liveList)
        m_liveList->endCollecting(reason);
    m_liveList = nullptr;
}

void PanelCommands::graph() {
    openRealTimeGraph(m_context, m_owner);
}

void PanelCommands::statistics() {
    openStatistics(m_context, m_owner);
}

void PanelCommands::samplingTime() {
    if (enterSamplingTime(m_context.state, m_context.dialogs))
        rememberSamplingTime(m_context.state, m_context.settings);
}

void PanelCommands::memory() {
    openDataLogger(m_context, m_owner, [this](DataList& list) { connectPlot(list); });
}

void PanelCommands::light() {
    openLight(m_context, m_owner);
}

void PanelCommands::timeSet() {
    openSetup(m_context, m_owner);
}

void PanelCommands::alarm() {
    openAlarm(m_context, m_owner);
}

void PanelCommands::help() {
    m_owner.openOrRaise<HelpWindow>(
        kHelp, [] { return new HelpWindow; },
        [this](HelpWindow& window) {
            // Beside the main window, whose buttons it explains.
            if (m_context.panelFrame) {
                const QRect panel = m_context.panelFrame();
                window.move(panel.x() + panel.width(), panel.y());
            }
            window.show();
        });
}

void PanelCommands::connectPlot(RecordListWindow& list) {
    QObject::connect(&list, &RecordListWindow::plotRequested, &list,
                     [this, window = &list] { plot(*window); });
}

void PanelCommands::plot(RecordListWindow& list) {
    m_owner.close(kListPlot);
    preparePlot(list.caption(), list.model(), list.plotsFromFileList(), m_context.state);
    openListPlot(m_context, m_owner, &list.model());
}
