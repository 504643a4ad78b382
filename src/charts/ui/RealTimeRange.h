#pragma once

#include "charts/ui/OpenCharts.h"
#include "common/ui/SecondaryWindow.h"

class RangeBox;
class WindowOwner;
struct AppContext;

// The real-time graph's value range and the number of points across it. Modeless: the graph
// keeps running behind it. OK reopens the graph with the new axis and step.
class RealTimeRange : public SecondaryWindow {
    Q_OBJECT
public:
    // Form_Load: the boxes show the graph's axis and its points across.
    RealTimeRange(AppContext& context, WindowOwner& owner);

    void CmdOK_Click();

    // How OK reopens the graph; replaced in tests to make it fail.
    GraphOpener showGraph = showRealTimeGraph;

private:
    void checkAndReopen();

    AppContext& m_context;
    WindowOwner& m_owner;
    RangeBox* m_txtMin = nullptr;
    RangeBox* m_txtMax = nullptr;
    RangeBox* m_txtCounts = nullptr;
};
