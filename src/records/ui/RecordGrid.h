#pragma once

#include <QTableView>

class RecordTableModel;

// The grid of a record list. Row 0 of the model, the column titles, stays in view as the header
// above the rows; the data rows scroll beneath it.
class RecordGrid : public QTableView {
    Q_OBJECT
public:
    // 15 data rows fit below the title row, so the live list shows 15 rows before it scrolls.
    static constexpr int kRowHeight = 15;
    static constexpr int kVisibleRows = 15;

    explicit RecordGrid(RecordTableModel& model, QWidget* parent = nullptr);

    // Column widths: the width the grid's font gives each column's width string.
    void setColumnWidthsFromFont();
    // The top data row in view (1 for the first).
    int topRow() const;
    // Makes the newest row current; past the 15th row the view moves down by one row, so the
    // newest rows stay in view while earlier ones can still be scrolled to.
    void showNewRow();

protected:
    // The title row takes what the data rows leave of the height, so no row is cut off.
    void resizeEvent(QResizeEvent* event) override;
};
