#pragma once

#include <functional>

class RecordTableModel;
class WindowOwner;
struct AppContext;

// The main window's "Graph": a graph still open is closed, then the axis runs from 0 to the
// live range in steps of one pixel, and the graph watches the live unit and range.
void openRealTimeGraph(AppContext& context, WindowOwner& owner);

// Closes a graph still open and shows a new one with the axis and step in GraphTop,
// GraphBottom and GraphStep, running at the poll's pace.
void showRealTimeGraph(AppContext& context, WindowOwner& owner);
using GraphOpener = std::function<void(AppContext&, WindowOwner&)>;

// Shows a new plot of `records` with the span and limits in the state, closing one still open.
void openListPlot(AppContext& context, WindowOwner& owner, const RecordTableModel* records);
