#include "panel/PcRecorder.h"

#include "common/AppContext.h"
#include "common/Dialogs.h"
#include "common/SharedState.h"
#include "panel/MeterId.h"
#include "records/FileTransfer.h"

#include <QFileInfo>
#include <QScopedValueRollback>

PcRecorder::PcRecorder(AppContext& context, RecordingView& view)
    : m_context(context)
    , m_view(view) {}

void PcRecorder::saveCommand() {
    SharedState& s = m_context.state;
    if (s.Recording) {
        stop();
        return;
    }
    if (m_starting || !m_context.port)
        return;
    QScopedValueRollback guard(m_starting, true);
    if (!ChooseSaveFile(s, m_context.dialogs) || !s.FileSelected)
        return;
    // The file name slot is shared with list saving, which may run during the exchange below:
    // this recording keeps the path its own dialog gave.
    const QString path = s.FileName;
    const std::optional<Value> id = readMeterId(m_context);
    if (!id || !m_context.port) {
        s.FileSelected = false;
        return;
    }
    s.MeterID = *id;
    s.RefUnit = s.Unit;
    s.RefRange = s.Range;
    s.FileName = path;
    s.FileSelected = true;
    if (!startFile(path))
        return;
    m_view.showRecording(QFileInfo(path).fileName());
    s.Recording = true;
}

bool PcRecorder::startFile(const QString& path) {
    SharedState& s = m_context.state;
    if (m_file.create(path) && m_file.writeLine(recordHeader(s.MeterID, s.RefRange, s.RefUnit)))
        return true;
    m_file.close();
    s.FileSelected = false;
    m_context.dialogs.message(kCannotWriteFile, {}, Dialogs::Icon::Critical);
    return false;
}

void PcRecorder::stop() {
    SharedState& s = m_context.state;
    s.Recording = false;
    m_view.showNotRecording();
    m_view.clearRecordingLabels();
    s.RecCount = 0;
    m_file.close();
    s.FileSelected = false;
}

void PcRecorder::close() {
    m_context.state.Recording = false;
    m_file.close();
}

bool PcRecorder::writeRecordLine(const QString& line) {
    return m_file.writeLine(line);
}

void PcRecorder::recordingStopped(StopReason reason) {
    m_view.showNotRecording();
    m_context.state.FileSelected = false;
    const bool closed = m_file.close();
    if (reason == StopReason::WriteFailed || !closed)
        m_view.showRecordingEnded(kCannotWriteFile, true);
    else
        m_view.showRecordingEnded(runEndedText(m_context.state, QStringLiteral("recording")),
                                  false);
}

void PcRecorder::showRecordCount(const QString& count) {
    m_view.showRecordCount(count);
}

void PcRecorder::clearRecordingLabels() {
    m_view.clearRecordingLabels();
}

void PcRecorder::addListRow(const QString& row) {
    if (onListRow)
        onListRow(row);
}

void PcRecorder::listEnded() {
    if (onListEnded)
        onListEnded(runEndedText(m_context.state, QStringLiteral("list")));
}
