#include "charts/PlotPreparation.h"

#include "common/NumberText.h"
#include "common/SharedState.h"
#include "records/RecordTableModel.h"

void preparePlot(const QString& caption, const RecordTableModel& grid, bool fromFileList,
                 SharedState& state) {
    state.PlotFromFileList = fromFileList;
    // Everything after the first ":" ("Range:2000/LUX"), or the whole caption without one.
    const qsizetype colon = caption.indexOf(u':');
    const QString afterColon = caption.mid(colon + 1);
    state.PlotMax = leadingNumber(QStringView(afterColon).left(5));
    state.PlotMin = 0;
    const qsizetype slash = afterColon.indexOf(u'/');
    state.PlotUnit = slash >= 0 ? afterColon.mid(slash + 1) : afterColon;
    state.PlotTop = state.PlotMax;
    state.PlotBottom = state.PlotMin;
    state.PlotRecords = grid.dataRowCount();
    state.PlotFirst = 1;
    state.PlotCount = state.PlotRecords;
    state.PlotLast = state.PlotRecords;
}
