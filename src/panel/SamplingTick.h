#pragma once

#include <QString>

struct SharedState;

// Where the sampling tick's samples go: the record file of PC recording and the live list.
// The main window implements it.
class SampleSinks {
public:
    enum class StopReason {
        LimitOrChange, // 86400 records, or the meter's range or unit changed
        WriteFailed,   // the record file could not be written
    };

    virtual ~SampleSinks() = default;

    // One record line without its line end; false when it could not be written.
    virtual bool writeRecordLine(const QString& line) = 0;
    // The tick ended PC recording (Recording and RecCount are already reset): close the file,
    // restore button 1 and the labels.
    virtual void recordingStopped(StopReason reason) = 0;
    // LblCount and LblRec while recording.
    virtual void showRecordCount(const QString& count) = 0;
    // LblFileName, LblCount and LblRec emptied while not recording.
    virtual void clearRecordingLabels() = 0;
    // A row of the live list: number, TAB, the sample line.
    virtual void addListRow(const QString& row) = 0;
    // The live list stopped collecting (86400 rows, range or unit change).
    virtual void listEnded() = 0;
};

inline constexpr float kMaxRecords = 86400;

// The sample line: "DD/MM/YYYY hh:nn:ss", TAB, the value as displayed, TAB, "Low" or nothing.
QString sampleLine(const QString& recordTime, const QString& displayedValue, bool batteryLow);

// One tick of the sampling timer (every 960 ms): counts ticks up to the sampling time, then
// advances RecordTime and hands the live reading to PC recording and the live list, if a frame
// was decoded since the previous sample (NewReading).
void samplingTick(SharedState& state, SampleSinks& sinks);
