#pragma once

class QTableView;

// The look of the program's grids over a TextTableModel: no row numbers, rows of a fixed height,
// read-only, and the model's row 0 (the column titles) shown as the fixed header above the rows.
void setUpTitledGrid(QTableView& view, int rowHeight);
