#pragma once

#include "panel/SamplingTick.h"
#include "records/RecordFile.h"

#include <QString>
#include <functional>

struct AppContext;

// What the main window shows of PC recording.
class RecordingView {
public:
    virtual ~RecordingView() = default;

    // Recording runs into the named file: LblFileName, button 1 as "Stop Recording", LblRec
    // shown.
    virtual void showRecording(const QString& fileName) = 0;
    // Recording ended: button 1 as "Save As", LblRec hidden, LblRec and LblCount emptied.
    virtual void showNotRecording() = 0;
    // LblCount and LblRec while recording.
    virtual void showRecordCount(const QString& count) = 0;
    // LblFileName, LblCount and LblRec emptied.
    virtual void clearRecordingLabels() = 0;
    // Recording ended by itself: why, as the user is told; `failed` for a file that could not
    // be written.
    virtual void showRecordingEnded(const QString& reason, bool failed) = 0;
};

// PC recording: the "Save" command that starts and stops it, the record file, and the samples
// of the sampling tick, which it writes to the file and hands on to the live list.
class PcRecorder : public SampleSinks {
public:
    PcRecorder(AppContext& context, RecordingView& view);

    // "Save": while recording, stops it; otherwise asks for the file, reads the meter's ID and
    // starts recording. A second "Save" while that runs does nothing.
    void saveCommand();
    void stop();
    // The program ends: the file is closed as it stands.
    void close();

    // The live list's rows, and its end (86400 rows, range or unit change) with its reason.
    std::function<void(const QString& row)> onListRow;
    std::function<void(const QString& reason)> onListEnded;

    // SampleSinks
    bool writeRecordLine(const QString& line) override;
    void recordingStopped(StopReason reason) override;
    void showRecordCount(const QString& count) override;
    void clearRecordingLabels() override;
    void addListRow(const QString& row) override;
    void listEnded() override;

private:
    // Creates the file and writes its header from MeterID, RefRange and RefUnit; on failure
    // reports kCannotWriteFile and leaves FileSelected cleared.
    bool startFile(const QString& path);

    AppContext& m_context;
    RecordingView& m_view;
    RecordWriter m_file;
    bool m_starting = false;
};
