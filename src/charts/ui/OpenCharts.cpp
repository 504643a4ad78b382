#include "charts/ui/OpenCharts.h"

#include "charts/ui/ChartNames.h"
#include "charts/ui/ListPlot.h"
#include "charts/ui/RealTimeGraph.h"
#include "common/AppContext.h"
#include "common/RememberedState.h"
#include "common/SharedState.h"
#include "common/ui/WindowOwner.h"

namespace {

// The main window's poll interval, which the graph keeps pace with, where no main window says.
constexpr int kPollIntervalMs = 50;

} // namespace

void openRealTimeGraph(AppContext& context, WindowOwner& owner) {
    owner.close(kRealTimeGraph);
    SharedState& s = context.state;
    s.RefUnit = s.Unit;
    s.RefRange = s.Range;
    // Before the first reading there is no range: the axis has no height and the graph draws
    // no trace until the reading that closes it arrives.
    s.GraphMax = s.Range.value_or(0);
    s.GraphMin = 0;
    s.GraphTop = s.GraphMax;
    s.GraphBottom = s.GraphMin;
    s.GraphStep = 1.0;
    recallGraphRange(s, s, context.settings);
    showRealTimeGraph(context, owner);
}

void showRealTimeGraph(AppContext& context, WindowOwner& owner) {
    auto* graph = new RealTimeGraph(context, owner);
    owner.adopt(kRealTimeGraph, graph);
    graph->show();
    graph->start(context.pollInterval ? context.pollInterval() : kPollIntervalMs);
}

void openListPlot(AppContext& context, WindowOwner& owner, const RecordTableModel* records) {
    auto* plot = new ListPlot(context, owner, records);
    owner.adopt(kListPlot, plot);
    plot->show();
}
