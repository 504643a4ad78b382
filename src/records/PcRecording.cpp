#include "records/PcRecording.h"

#include "common/Dialogs.h"
#include "common/NumberText.h"
#include "panel/SharedState.h"
#include "records/FileTransfer.h"
#include "records/RecordFile.h"

#include <algorithm>

bool startRecordFile(RecordWriter& file, SharedState& state, Dialogs& dialogs) {
    if (file.create(state.FileName) &&
        file.writeLine(recordHeader(state.MeterID, state.RefRange, state.RefUnit)))
        return true;
    file.close();
    state.FileSelected = false;
    dialogs.message(kCannotWriteFile, {}, Dialogs::Icon::Critical);
    return false;
}

std::optional<float> parseSamplingTime(const QString& answer) {
    const std::optional<double> number = exactNumber(answer);
    if (!number)
        return std::nullopt;
    return static_cast<float>(std::clamp(roundHalfEven(*number), 1.0, 86400.0));
}

bool enterSamplingTime(SharedState& state, Dialogs& dialogs) {
    const std::optional<QString> answer =
        dialogs.input(kSamplingPrompt, kSamplingTitle, numberText(state.SamplingTime));
    if (!answer)
        return false;
    const std::optional<float> seconds = parseSamplingTime(*answer);
    if (!seconds)
        return false;
    state.SamplingTime = *seconds;
    state.SampleTick = 0;
    return true;
}
