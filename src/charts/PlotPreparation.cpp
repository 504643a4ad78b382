#include "charts/PlotPreparation.h"

#include "charts/PlotValues.h"
#include "common/NumberText.h"
#include "common/SharedState.h"
#include "records/RecordTableModel.h"

#include <algorithm>
#include <cmath>

namespace {

// The smallest of the meter's full scales that holds every value of the list; the largest
// scale when none does.
double smallestRangeHolding(const RecordTableModel& grid) {
    double largest = 0;
    for (int r = 1; r < grid.rowCount(); ++r)
        largest = std::max(largest, readingValue(grid.cellView(r, RecordTableModel::kValueColumn)));
    for (const double range : {20.0, 200.0, 2000.0}) {
        if (largest <= range)
            return range;
    }
    return 20000;
}

} // namespace

void preparePlot(const QString& caption, const RecordTableModel& grid, bool fromFileList,
                 SharedState& state) {
    state.PlotFromFileList = fromFileList;
    state.PlotTitle = caption;
    // Everything after the first ":" ("Range:2000/LUX"), or the whole caption without one.
    const qsizetype colon = caption.indexOf(u':');
    const QString afterColon = caption.mid(colon + 1);
    state.PlotMax = leadingNumber(QStringView(afterColon).left(5));
    state.PlotMin = 0;
    // A caption without a range (a file without its header line) would leave the axis without
    // height, and the plot with nowhere to put its points; a range beyond any number ("1e309")
    // would put every point at the baseline under labels that read "inf".
    if (!std::isfinite(state.PlotMax) || state.PlotMax <= state.PlotMin)
        state.PlotMax = smallestRangeHolding(grid);
    const qsizetype slash = afterColon.indexOf(u'/');
    state.PlotUnit = slash >= 0 ? afterColon.mid(slash + 1) : afterColon;
    state.PlotTop = state.PlotMax;
    state.PlotBottom = state.PlotMin;
    state.PlotRecords = grid.dataRowCount();
    state.PlotFirst = 1;
    state.PlotCount = state.PlotRecords;
    state.PlotLast = state.PlotRecords;
    // A new plot starts with its records evenly spread, all of them shown.
    state.PlotTimeAxis = false;
    state.PlotZoomed = false;
}
