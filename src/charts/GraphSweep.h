#pragma once

#include <QRect>
#include <QString>
#include <optional>

class QPainter;
struct SharedState;

// The real-time graph's pen: it moves GraphStep pixels per tick and starts again at the left
// edge once it reaches the plot width.
struct SweepAdvance {
    double x;
    // Where the pen stood past the right edge, when this tick starts a new sweep.
    std::optional<double> wrappedFrom;
};
SweepAdvance advanceSweep(double x, double step, double plotWidth);

// What the sweep marks at a position: a time label every 60 pixels, a mid mark halfway between,
// judged on the position rounded to the nearest pixel (halves to even).
enum class SweepMark { None, Time, Mid };
SweepMark sweepMarkAt(double x);

// One tick of the graph on GraphLayout: erases the band ahead of the pen and marks the front in
// red, redraws the grid, draws the segment to the live reading Value and, where due, the time
// mark labelled `timeOfDay`. Moves GraphX, GraphPrevX and GraphPrevY on. Returns the pixels
// the tick drew on; the next tick's grid changes some of them again.
QRect drawSweepTick(QPainter& painter, SharedState& state, const QString& timeOfDay);
