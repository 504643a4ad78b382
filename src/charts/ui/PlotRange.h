#pragma once

#include "common/ui/SecondaryWindow.h"

#include <QPointer>

class RangeBox;
class RecordTableModel;
class WindowOwner;
struct AppContext;

// The record plot's value range and the span of records it plots. Modeless; its opener sets
// the caption "Plot Range ( unit )". OK replots the chosen records against the chosen limits.
class PlotRange : public SecondaryWindow {
    Q_OBJECT
public:
    // Form_Load: at the top-left corner of the screen, the boxes showing the plot's limits and
    // span. `records` is the plotted list's grid, which the new plot reads.
    PlotRange(AppContext& context, WindowOwner& owner, const RecordTableModel* records);

    void CmdOK_Click();

private:
    void checkAndReplot();

    AppContext& m_context;
    WindowOwner& m_owner;
    QPointer<const RecordTableModel> m_records;
    RangeBox* m_txtT1 = nullptr;
    RangeBox* m_txtT2 = nullptr;
    RangeBox* m_txtR1 = nullptr;
    RangeBox* m_txtR2 = nullptr;
};
