#pragma once

#include <QString>

// The alarm limits and switch. Owner: the alarm window; reader: the main window's display
// update, which also switches the alarm off when the live unit leaves AlarmUnit.
struct AlarmState {
    double AlarmHighLux = 0;
    double AlarmLowLux = 0;
    double AlarmHighFc = 0;
    double AlarmLowFc = 0;
    QString AlarmUnit;
    bool AlarmOn = false;
};
