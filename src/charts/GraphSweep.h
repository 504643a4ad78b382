#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <optional>

class QPainter;
struct GraphState;
struct LiveReading;

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

// Whether the live reading still stands for the meter when a graph tick draws it. The graph
// ticks four times per poll, so a reading stays fresh for a while after the frame that brought
// it; once no frame has come for longer than a poll takes (a silent or unplugged meter, bad
// frames, an exchange holding the line), the trace breaks instead of repeating the last value.
class ReadingFreshness {
public:
    static constexpr double kFreshSeconds = 0.6;

    // `frameCount` is FrameCount now, `monotonicNow` the monotonic clock.
    bool fresh(quint64 frameCount, double monotonicNow);

private:
    std::optional<quint64> m_frames;
    double m_frameSeen = 0;
};

// One tick of the graph on GraphLayout: erases the band ahead of the pen and marks the front in
// red, redraws the grid, draws the segment to the live reading Value and, where due, the time
// mark labelled `timeOfDay`. Moves GraphX, GraphPrevX and GraphPrevY on. A reading that is not
// `fresh` is not drawn: the trace has a gap and resumes with the next fresh one. Returns the
// pixels the tick drew on; the next tick's grid changes some of them again.
QRect drawSweepTick(QPainter& painter, GraphState& state, const LiveReading& reading,
                    const QString& timeOfDay, bool fresh = true);

// The graph as a picture to keep: the red front ahead of the pen tells the window's viewer
// where the sweep is, and is no reading; a picture shows those pixels white, as the next tick
// leaves them.
QImage withoutSweepFront(const QImage& image, const GraphState& state);
