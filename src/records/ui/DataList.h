#pragma once

#include "records/ui/RecordListWindow.h"

// The readings of a logged set downloaded from the meter. The download fills `model()` and sets
// the caption ("Data List---" and the header from MeterID, LogRange and LogUnit).
class DataList : public RecordListWindow {
    Q_OBJECT
public:
    // Form_Load: keeps the caption "Data List"; placed at the top-left corner of the screen.
    explicit DataList(AppContext& context);
};
