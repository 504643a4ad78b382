#pragma once

#include "common/TextTableModel.h"

#include <QStringList>

// The data logger window's list of logged sets: one row per set under the title row. Six
// columns: set number, start date, start time, range and unit, interval, samples.
class SetListModel : public TextTableModel {
    Q_OBJECT
public:
    static constexpr int kColumns = 6;
    // Each column is as wide as its template in the window's font.
    static const QStringList& widthTemplates();

    explicit SetListModel(QObject* parent = nullptr);
};
