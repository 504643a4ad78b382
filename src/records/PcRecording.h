#pragma once

#include <QString>
#include <optional>

class Dialogs;
class RecordWriter;
struct SharedState;

inline const QString kSamplingPrompt =
    QStringLiteral("Enter the SAMPLING TIME in seconds\r\n(1 <= t <= 86400 ) ");
inline const QString kSamplingTitle = QStringLiteral("Input Sampling Time");

// Creates the record file FileName and writes its header from MeterID, RefRange and RefUnit.
// When that fails, recording must not start: the file is closed, FileSelected cleared and
// kCannotWriteFile reported.
bool startRecordFile(RecordWriter& file, SharedState& state, Dialogs& dialogs);

// The answer to the sampling time box in whole seconds (halves to the even neighbour) within
// 1..86400; nullopt for an empty answer or one that is not a number.
std::optional<float> parseSamplingTime(const QString& answer);

// "PC": asks for the sampling time; a valid answer sets SamplingTime and makes the next
// sampling tick take a sample. False when nothing changed.
bool enterSamplingTime(SharedState& state, Dialogs& dialogs);
