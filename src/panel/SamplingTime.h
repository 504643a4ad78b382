#pragma once

#include <QString>
#include <optional>

class Dialogs;
struct RecordingState;

inline const QString kSamplingPrompt =
    QStringLiteral("Enter the SAMPLING TIME in seconds\r\n(1 <= t <= 86400 ) ");
inline const QString kSamplingTitle = QStringLiteral("Input Sampling Time");

// The answer to the sampling time box: its leading number ("5s" is 5, "2,5" is 2) in whole
// seconds (halves to the even neighbour) within 1..86400; nullopt for an answer without one.
std::optional<float> parseSamplingTime(const QString& answer);

// "PC": asks for the sampling time; a valid answer sets SamplingTime and makes the next
// sampling tick take a sample. False when nothing changed.
bool enterSamplingTime(RecordingState& state, Dialogs& dialogs);
