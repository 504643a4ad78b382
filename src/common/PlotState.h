#pragma once

#include "common/ChartLayout.h"

#include <QString>

// The record plot's span, axis and pen. Owner: the plot preparation, the record plot and its
// range dialog.
struct PlotState {
    double PlotMax = 0;
    double PlotMin = 0;
    double PlotTop = 0;
    double PlotBottom = 0;
    double PlotRecords = 0;
    double PlotCount = 0;
    double PlotFirst = 0;
    double PlotLast = 0;
    double PlotStep = 0;
    QString PlotUnit;
    // The caption of the list the plot was prepared from, for its pictures.
    QString PlotTitle;
    double PlotX = 0;
    double PlotPrevX = 0;
    ChartLayout PlotLayout;
    bool PlotFromFileList = false;
    // The records at their times rather than evenly spread: the axis runs from PlotTimeFrom to
    // PlotTimeTo (seconds on the plain calendar), the trace broken across a step longer than
    // twice PlotInterval, the list's sampling interval in seconds (0 when unknown).
    bool PlotTimeAxis = false;
    double PlotTimeFrom = 0;
    double PlotTimeTo = 0;
    double PlotInterval = 0;
    // Part of the chosen records shown: time labels that would overlap are left out.
    bool PlotZoomed = false;
};
