#pragma once

#include <QString>

class RecordTableModel;
struct SharedState;

// "Plot" on a list: the plot's value range, unit and record span from the list's caption and
// rows.
void preparePlot(const QString& caption, const RecordTableModel& grid, bool fromFileList,
                 SharedState& state);
