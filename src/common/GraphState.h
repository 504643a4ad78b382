#pragma once

#include "common/ChartLayout.h"

// The real-time graph's axis and pen. Owner: the real-time graph and its range dialog.
struct GraphState {
    double GraphMax = 0;
    double GraphMin = 0;
    double GraphTop = 0;
    double GraphBottom = 0;
    double GraphStep = 0;
    double GraphX = 0;
    double GraphPrevX = 0;
    double GraphPrevY = 0;
    ChartLayout GraphLayout;
    int GridColour = 0;
};
