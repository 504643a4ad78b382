#pragma once

#include "common/ui/SecondaryWindow.h"

#include <functional>
#include <vector>

class QLabel;
class WindowOwner;
struct SpanStatistics;

// "Statistics" of a record plot: the figures of the records in view, beside the plot. Each
// value is read by screen readers as its text and described by its caption.
class SpanStatisticsWindow : public SecondaryWindow {
    Q_OBJECT
public:
    SpanStatisticsWindow();

    void showStatistics(const SpanStatistics& statistics);

    // One taken by `owner` and placed at the right of `plot`; `closed` runs when it closes.
    static SpanStatisticsWindow* openBeside(WindowOwner& owner, QWidget& plot,
                                            const std::function<void()>& closed);

private:
    std::vector<QLabel*> m_values;
};
