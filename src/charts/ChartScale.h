#pragma once

#include "common/ChartLayout.h"

#include <QString>
#include <QStringView>
#include <optional>

// Where a chart sits in a client area of cw x ch pixels: the value axis 60 pixels in, the plot
// area's top 73 pixels down (below the toolbar and the unit caption), its width the largest
// multiple of 30 that fits.
ChartLayout ComputeChartLayout(float cw, float ch);

// Text of a value-axis label: the number in the fixed decimal form with one leading blank for a
// value that is not negative, " 250", " 2.5", " .5", "-3.75".
QString FormatAxisLabel(double value);

// Height above the baseline at which a reading text is plotted: 5 pixels above the plot area for
// "OL", "----" and values above the axis, 3 below the baseline for "-OL" and values below it.
// No height for an in-range reading on an axis whose top equals its bottom.
std::optional<double> ValueHeight(QStringView text, double axisMin, double axisMax,
                                  double plotHeight);
