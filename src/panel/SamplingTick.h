#pragma once

#include <QString>

class QDateTime;
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
// The sampling timer's interval: the longest a tick waits.
inline constexpr int kSamplingTickMs = 960;

// Why a recording or the live list (`run`) ended by itself, read from the state as the sampling
// tick left it: "recording ended: the meter changed from 2000 LUX to 20000 LUX", or "recording
// ended after 86400 records".
QString runEndedText(const SharedState& state, const QString& run);

// The sample line: "DD/MM/YYYY hh:nn:ss", TAB, the value as displayed, TAB, "Low" or nothing.
QString sampleLine(const QString& recordTime, const QString& displayedValue, bool batteryLow);

// RecordTime is the PC clock's time now (to the second), so that sample k carries the stamp
// RecordTime + k × SamplingTime and is taken when the PC clock reaches it. `monotonicNow` is the
// monotonic clock at the same moment.
void startSampling(SharedState& state, const QDateTime& wallNow, double monotonicNow);

// One tick of the sampling timer. When the monotonic clock has reached the next sample's time it
// advances RecordTime by the sampling time and hands the live reading to PC recording and the
// live list, if a frame was decoded since the previous sample (NewReading). A tick that comes
// late takes the sample once: when several sample times have passed, only the latest is taken
// and the stamps of the others stay absent, as they do for a silent meter.
void samplingTick(SharedState& state, SampleSinks& sinks, double monotonicNow);

// Milliseconds until the next sampling tick is worth running: the next sample's time, but at
// most the sampling timer's 960 ms.
int samplingTickDelayMs(const SharedState& state, double monotonicNow);
