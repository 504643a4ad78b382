#pragma once

#include <QString>

class RecordTableModel;
struct SharedState;

// "Plot" on a list: the plot's value range, unit and record span from the list's caption and
// rows. A caption without a range number, or with one that is not a finite positive number, takes
// the smallest meter range (20, 200, 2000, 20000) that holds the list's largest value.
void preparePlot(const QString& caption, const RecordTableModel& grid, bool fromFileList,
                 SharedState& state);
