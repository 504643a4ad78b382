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
};
