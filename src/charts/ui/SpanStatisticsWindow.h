#pragma once

#include "common/ui/SecondaryWindow.h"

#include <vector>

class QLabel;
struct SpanStatistics;

// "Statistics" of a record plot: the figures of the records in view, beside the plot. Each
// value is read by screen readers as its text and described by its caption.
class SpanStatisticsWindow : public SecondaryWindow {
    Q_OBJECT
public:
    SpanStatisticsWindow();

    void showStatistics(const SpanStatistics& statistics);

private:
    std::vector<QLabel*> m_values;
};
