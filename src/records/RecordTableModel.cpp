#include "records/RecordTableModel.h"

RecordTableModel::RecordTableModel(QObject* parent)
    : TextTableModel(kColumns, u"No.s\t   Time\tValue\tBat", parent) {}
