#include "records/ui/RecordGrid.h"

#include "common/ui/TitledGrid.h"
#include "records/RecordTableModel.h"

#include <QHeaderView>
#include <QResizeEvent>
#include <QScrollBar>
#include <algorithm>

namespace {

const char* const kWidthStrings[RecordTableModel::kColumns] = {
    " 000000AAA ", "YY/MM/DD HH:NN:SSAAA", "AAAAAAAA", "AAAAAAA"};

} // namespace

RecordGrid::RecordGrid(RecordTableModel& model, QWidget* parent)
    : QTableView(parent) {
    setModel(&model);
    setFrameShape(QFrame::NoFrame);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setUpTitledGrid(*this, kRowHeight);
    setAccessibleName(QStringLiteral("Records"));
    setColumnWidthsFromFont();
}

void RecordGrid::setColumnWidthsFromFont() {
    const QFontMetrics metrics(font());
    for (int c = 0; c < RecordTableModel::kColumns; ++c)
        setColumnWidth(c, metrics.horizontalAdvance(QString::fromLatin1(kWidthStrings[c])));
}

void RecordGrid::resizeEvent(QResizeEvent* event) {
    horizontalHeader()->setFixedHeight(std::max(kRowHeight, height() - kVisibleRows * kRowHeight));
    QTableView::resizeEvent(event);
}

int RecordGrid::topRow() const {
    return rowAt(0);
}

void RecordGrid::showNewRow() {
    // The scroll range must count the new row before the view moves.
    executeDelayedItemsLayout();
    const int last = model()->rowCount() - 1;
    const int top = verticalScrollBar()->value();
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    setCurrentIndex(model()->index(last, column));
    // Making a row current may scroll on its own; the list's rule decides instead.
    verticalScrollBar()->setValue(last > kVisibleRows ? top + 1 : top);
}
