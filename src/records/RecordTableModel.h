#pragma once

#include "common/TextTableModel.h"

// The grid of a record list: number, time, value and battery of each record under the title
// row "No.s", "   Time", "Value", "Bat".
class RecordTableModel : public TextTableModel {
    Q_OBJECT
public:
    static constexpr int kColumns = 4;
    static constexpr int kTimeColumn = 1;
    static constexpr int kValueColumn = 2;

    explicit RecordTableModel(QObject* parent = nullptr);
};
