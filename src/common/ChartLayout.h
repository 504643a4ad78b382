#pragma once

// Where a chart sits in its window's client area, in pixels, recomputed on every resize. The
// plot area runs from (AxisX, Baseline - PlotHeight) to (AxisX + PlotWidth, Baseline).
// Single precision, as the charts compute it; fractions reach the drawing operations as they are.
struct ChartLayout {
    float AxisX = 0;
    float Baseline = 0;
    float PlotHeight = 0;
    float PlotWidth = 0;

    friend bool operator==(const ChartLayout&, const ChartLayout&) = default;
};
