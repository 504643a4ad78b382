#include "common/ui/TitledGrid.h"

#include <QHeaderView>
#include <QTableView>

void setUpTitledGrid(QTableView& view, int rowHeight) {
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.setWordWrap(false);
    view.setCornerButtonEnabled(false);

    QHeaderView* rows = view.verticalHeader();
    rows->hide();
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(rowHeight);
    rows->setSectionResizeMode(QHeaderView::Fixed);

    QHeaderView* titles = view.horizontalHeader();
    titles->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    titles->setSectionsClickable(false);
    titles->setHighlightSections(false);
    titles->setMinimumSectionSize(1);

    // The header repeats the model's row 0, so the row itself stays out of view.
    view.setRowHidden(0, true);
}
