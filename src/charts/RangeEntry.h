#pragma once

#include <QChar>
#include <QString>
#include <variant>

struct GraphState;
struct PlotState;
struct SharedState;

// The typed keys a box of the range dialogs lets through besides Backspace and Enter: digits,
// "-" and "." for the value limits, digits alone for counts and record numbers.
enum class BoxKeys { Signed, Digits };
bool keyPasses(QChar typed, BoxKeys keys);

// The real-time range dialog's boxes as they open: the points across the graph (the plot width
// over the step, rounded half to even), the axis top and bottom.
struct GraphRangeTexts {
    QString max;
    QString min;
    QString counts;
};
GraphRangeTexts graphRangeTexts(const GraphState& state);

// A real-time range the dialog accepted: the new axis and step.
struct AcceptedGraphRange {
    double top;
    double bottom;
    double step;
};
// Checks the typed texts against GraphMin, GraphMax and the graph's plot width: the accepted
// range, or the message that rejects it. All three boxes are checked before anything is taken.
std::variant<AcceptedGraphRange, QString> checkGraphRange(const GraphRangeTexts& typed,
                                                          const SharedState& state);

// The plot range dialog's boxes: value limits and the first and last record.
struct PlotRangeTexts {
    QString t1;
    QString t2;
    QString r1;
    QString r2;
};
PlotRangeTexts plotRangeTexts(const PlotState& state);

struct AcceptedPlotRange {
    double bottom;
    double top;
    double first;
    double last;
};
// Checks the typed texts against PlotMin, PlotMax and PlotRecords. Record numbers are taken to
// the nearest whole record first.
std::variant<AcceptedPlotRange, QString> checkPlotRange(const PlotRangeTexts& typed,
                                                        const SharedState& state);
