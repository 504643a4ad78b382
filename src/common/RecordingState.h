#pragma once

#include "common/Value.h"

#include <QString>
#include <optional>

// PC recording, the live list and their samples. Owner: the main window's sampling tick, PC
// recorder and toolbar; readers: the list windows, the file dialogs and the chart that follows
// the live unit and range (RefUnit, RefRange).
struct RecordingState {
    QString StartDate;  // "YYYY/MM/DD"
    QString StartTime;  // "hh:mm:ss"
    QString RecordTime; // "YYYY/MM/DD hh:nn:ss" of the sample being taken
    // The monotonic clock's seconds at which the PC clock showed RecordTime: the next sample is
    // due when the monotonic clock reaches this plus the sampling time.
    double RecordClock = 0;
    float SamplingTime = 0;
    // 0 until the first sample after the start or a new sampling time, then 1.
    qint32 SampleTick = 0;
    bool Recording = false;
    qint16 FileNum = 0;
    QString FileName;
    bool FileSelected = false;
    float RecCount = 0;
    ::Value MeterID;
    bool ListOn = false;
    float ListCount = 0;
    ::Value ListID;
    QString RefUnit;
    std::optional<qint16> RefRange;
    bool LightOn = false;
};
