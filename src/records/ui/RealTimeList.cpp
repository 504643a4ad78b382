#include "records/ui/RealTimeList.h"

#include "common/AppContext.h"
#include "common/SharedState.h"
#include "records/RecordFile.h"
#include "records/ui/RecordGrid.h"

RealTimeList::RealTimeList(AppContext& context)
    : RecordListWindow(
          context, {"RealTimeList",
                    "Real Time List",
                    4110,
                    {QStringLiteral("Save"), QStringLiteral("Print"), QStringLiteral("Export")}}) {
    const SharedState& state = context.state;
    setCaption(QStringLiteral("List---") + recordHeader(state.ListID, state.Range, state.Unit));
    move(besidePanel());
}

void RealTimeList::addLiveRow(const QString& row) {
    model().appendRow(row);
    grid().showNewRow();
}

void RealTimeList::endCollecting(const QString& reason) {
    m_collecting = false;
    showNote(reason);
}

void RealTimeList::Form_Unload() {
    if (!m_collecting)
        return;
    m_collecting = false;
    m_context.state.ListOn = false;
    m_context.state.ListCount = 0;
}
