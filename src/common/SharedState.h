#pragma once

#include "common/ChartLayout.h"
#include "common/Value.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <array>
#include <optional>

// The one program-wide record that every window reads and writes. Created once at start and
// handed to each window by reference; everything runs on the GUI thread, so nothing is locked.
struct SharedState {
    // Serial link and clock
    qint16 ComPort = 0;
    // Device opened instead of a numbered COM port: a device path or "Demo"; empty for COM1..8.
    QString ComDevice;
    QString StartDate;  // "YYYY/MM/DD"
    QString StartTime;  // "hh:mm:ss"
    QString RecordTime; // "YYYY/MM/DD hh:nn:ss" of the sample being taken
    // The monotonic clock's seconds at which the PC clock showed RecordTime: the next sample is
    // due when the monotonic clock reaches this plus the sampling time.
    double RecordClock = 0;

    // Live reading
    bool BatLow = false;
    bool MaxOn = false;
    bool HoldOn = false;
    bool MemFull = false;
    bool MeterRec = false;
    bool LeadOne = false;
    qint16 UnitFlag = 0;
    QString Unit;
    std::optional<qint16> Range; // empty until the first frame
    ::Value Value;
    // A frame was decoded since the last sample was due: a sample takes only a fresh reading.
    bool NewReading = false;
    // Frames decoded since the program started; windows that follow every reading compare it.
    quint64 FrameCount = 0;

    // Recording, list and graph runs
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

    // Alarm
    double AlarmHighLux = 0;
    double AlarmLowLux = 0;
    double AlarmHighFc = 0;
    double AlarmLowFc = 0;
    QString AlarmUnit;
    bool AlarmOn = false;

    // Data logger
    bool MemoryOn = false;
    std::array<QByteArray, 256> SetCache;
    QString LogUnit;
    std::optional<qint16> LogRange;
    ::Value LogValue;
    bool LogBatLow = false;

    // Charts
    double GraphMax = 0;
    double GraphMin = 0;
    double GraphTop = 0;
    double GraphBottom = 0;
    double GraphStep = 0;
    double GraphX = 0;
    double GraphPrevX = 0;
    double GraphPrevY = 0;
    ChartLayout GraphLayout;
    int GridColour = 0;
    double PlotMax = 0;
    double PlotMin = 0;
    double PlotTop = 0;
    double PlotBottom = 0;
    double PlotRecords = 0;
    double PlotCount = 0;
    double PlotFirst = 0;
    double PlotLast = 0;
    double PlotStep = 0;
    QString PlotUnit;
    double PlotX = 0;
    double PlotPrevX = 0;
    ChartLayout PlotLayout;
    bool PlotFromFileList = false;

    // The assignments of the main window's load, in their order; `now` is the PC clock.
    void loadPanel(const QDateTime& now);
};

// "COM3" for a numbered port, the short adapter name for a link under /dev/serial/by-id,
// otherwise the device's name below /dev ("ttyUSB0", "pts/4", "Demo").
QString portLabel(const SharedState& state);

// Text of a range for captions and headers: "2000", or empty before the first frame.
QString rangeText(std::optional<qint16> range);
