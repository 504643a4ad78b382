#include "panel/SamplingTime.h"

#include "common/Dialogs.h"
#include "common/NumberText.h"
#include "common/RecordingState.h"

#include <algorithm>

std::optional<float> parseSamplingTime(const QString& answer) {
    const std::optional<double> number = leadingNumberIn(answer);
    if (!number)
        return std::nullopt;
    return static_cast<float>(std::clamp(roundHalfEven(*number), 1.0, 86400.0));
}

bool enterSamplingTime(RecordingState& state, Dialogs& dialogs) {
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
