#pragma once

// The span of records a zoomable plot shows: positions from firstShown to lastShown (record
// indexes from 0, fractions allowed) within the whole list, 0 to count - 1.
struct PlotView {
    double firstShown = 0;
    double lastShown = 0;

    double span() const { return lastShown - firstShown; }
    friend bool operator==(const PlotView&, const PlotView&) = default;
};

// Zoom and pan of a record plot. The view never leaves the whole list and never gets narrower
// than kMinimumSpan records (or the whole, for a shorter list); every step keeps it so.
class PlotZoom {
public:
    // One notch of the wheel.
    static constexpr double kWheelFactor = 1.25;
    static constexpr double kMinimumSpan = 2;

    explicit PlotZoom(long long count = 0);

    long long count() const { return m_count; }
    const PlotView& view() const { return m_view; }
    PlotView whole() const;
    bool showsWhole() const { return m_view == whole(); }

    // Factor above 1 zooms in, below 1 out, around `anchor` (a record position): the anchor
    // keeps its place on the screen unless the view meets an end of the list.
    void zoomAround(double anchor, double factor);
    // Wheel notches (forward positive, zooming in) with the pointer over record `anchor`.
    void wheel(double anchor, double notches);
    // The keys: around the middle of the view.
    void zoomAtCentre(double factor);
    // Moves the view by `records` (positive towards the end), stopping at the ends of the list
    // with the span kept.
    void pan(double records);
    // A span dragged out with the mouse, in either direction; one narrower than the minimum
    // widens to it about its middle.
    void select(double from, double to);
    // Back to the whole list.
    void home();

private:
    double minimumSpan() const;
    // Puts a view of the given span starting at `first` inside the list.
    void place(double first, double span);

    long long m_count;
    PlotView m_view;
};

// A plot area `width` pixels wide from x = `left`, showing `view`: its first position at the
// left edge, its last at the right one.
struct PlotMapping {
    PlotView view;
    double left = 0;
    double width = 0;

    double recordAt(double x) const;
    double xOf(double record) const;
    // Records per pixel, to turn a drag in pixels into a pan.
    double recordsPerPixel() const;
};
