#pragma once

#include "records/ui/RecordListWindow.h"

// The live list: one row per sample of the main window while the list collects. When the list
// ends on its own (86400 rows, range or unit change) the window stays open with its rows, so they
// can still be saved and printed, and a new live list may start beside it.
class RealTimeList : public RecordListWindow {
    Q_OBJECT
public:
    // Form_Load: caption "List---" and the header from ListID, Range and Unit; placed beside the
    // main window.
    explicit RealTimeList(AppContext& context);

    // A row of the sampling tick: number, TAB, the sample line.
    void addLiveRow(const QString& row);

    // The list stopped collecting on its own, for `reason`, which it shows above its rows;
    // closing it later leaves the live list state alone.
    void endCollecting(const QString& reason);
    bool collecting() const { return m_collecting && !closing(); }

protected:
    // Closing the collecting list ends the collection; the next list starts again at number 1.
    void Form_Unload() override;

private:
    bool m_collecting = true;
};
