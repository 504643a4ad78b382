#pragma once

#include "common/ChartLayout.h"

#include <QColor>
#include <QPointF>
#include <QRect>
#include <QString>

class QPainter;

// The drawing operations both charts share. Everything is drawn with one-pixel pens (two for
// the axes) and no antialiasing, so the same calls always give the same pixels.

// One of the 16 classic palette colours: 0 black, 7 light grey, 12 light red, 15 white, ...
QColor paletteColour(int index);

// The grid's palette index, set by either chart window when it loads.
inline constexpr int kGridColourIndex = 7;

// Axes, 17 ticks, nine value labels and the unit caption, in the painter's font.
// The span a Shift drag selects, from x0 to x1 over the plot area's height: a dashed box with a
// light fill, drawn over the chart and never into its image.
void drawSpanSelection(QPainter& painter, const ChartLayout& layout, double x0, double x1);

void DrawChartFrame(QPainter& painter, const ChartLayout& layout, double axisMin, double axisMax,
                    const QString& unitText);

// The solid middle line and the seven dotted lines of the background grid, over whatever is
// there; no line at the baseline.
void DrawChartGrid(QPainter& painter, const ChartLayout& layout, const QColor& grid);

// A dotted vertical line at x (relative to the value axis) from the baseline to 10 pixels above
// the plot area.
void DrawTimeGridLine(QPainter& painter, const ChartLayout& layout, double x, const QColor& grid);

// A short solid mark across the middle grid line at x (relative to the value axis).
void DrawMidTick(QPainter& painter, const ChartLayout& layout, double x, const QColor& grid);

// A box filled and outlined in one colour; both corners are inside. Returns the pixels covered.
QRect fillBox(QPainter& painter, QPointF corner1, QPointF corner2, const QColor& colour);

// A one-pixel line between two points.
void drawSegment(QPainter& painter, QPointF from, QPointF to, const QColor& colour);

// Text with its top-left corner at `topLeft`. Returns the pixels it may cover.
QRect drawTextAt(QPainter& painter, QPointF topLeft, const QString& text);
// Width of a text and height of a line in the painter's font, in pixels.
double textWidth(const QPainter& painter, const QString& text);
double textHeight(const QPainter& painter);
