#pragma once

#include "common/AlarmState.h"
#include "common/ChosenPort.h"
#include "common/GraphState.h"
#include "common/LiveReading.h"
#include "common/LoggerState.h"
#include "common/PlotState.h"
#include "common/RecordingState.h"

#include <QDateTime>
#include <QString>
#include <optional>

// The one program-wide record that every window reads and writes, made of one part per owner
// (each in its own header), so that every field keeps its documented name while a function
// that needs one part takes only that part. Created once at start and handed to each window
// by reference; everything runs on the GUI thread, so nothing is locked.
struct SharedState : ChosenPort,
                     LiveReading,
                     RecordingState,
                     AlarmState,
                     LoggerState,
                     GraphState,
                     PlotState {
    // The assignments of the main window's load, in their order; `now` is the PC clock.
    void loadPanel(const QDateTime& now);
};

// "COM3" for a numbered port, the short adapter name for a link under /dev/serial/by-id,
// otherwise the device's name below /dev ("ttyUSB0", "pts/4", "Demo").
QString portLabel(const ChosenPort& port);
