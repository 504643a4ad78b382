#include "panel/SamplingTick.h"

#include "common/CalendarTime.h"
#include "common/NumberText.h"
#include "common/SharedState.h"

#include <cmath>

namespace {

bool runChanged(const SharedState& state) {
    return state.Range != state.RefRange || state.Unit != state.RefUnit;
}

} // namespace

QString sampleLine(const QString& recordTime, const QString& displayedValue, bool batteryLow) {
    return shownFromHeld(recordTime) + u'\t' + displayedValue + u'\t' +
           (batteryLow ? QStringLiteral("Low") : QString());
}

void samplingTick(SharedState& state, SampleSinks& sinks) {
    if (state.SampleTick != 0 && state.SampleTick < state.SamplingTime) {
        ++state.SampleTick;
        return;
    }

    // Time stamps are the start plus multiples of the sampling time; the clock is never read.
    const qint64 step = std::llround(state.SamplingTime);
    const QString previous = state.RecordTime;
    std::optional<QString> next = addSeconds(previous, step);
    if (next && *next == previous)
        next = addSeconds(*next, step);
    if (!next)
        return;
    state.RecordTime = *next;

    // A meter that is silent, unplugged or garbling leaves the last shown reading in place;
    // recording it again under a new time stamp would invent a reading. The stamps still move
    // on, so the gap shows as missing times.
    const bool fresh = state.NewReading;
    state.NewReading = false;
    const QString line = sampleLine(state.RecordTime, state.Value.text(), state.BatLow);

    if (state.Recording) {
        if (state.RecCount == kMaxRecords || runChanged(state)) {
            state.Recording = false;
            state.RecCount = 0;
            sinks.recordingStopped(SampleSinks::StopReason::LimitOrChange);
            return;
        }
        if (fresh) {
            state.RecCount += 1;
            const QString count = numberText(state.RecCount);
            if (sinks.writeRecordLine(count + u'\t' + line)) {
                sinks.showRecordCount(count);
            } else {
                state.Recording = false;
                state.RecCount = 0;
                state.FileSelected = false;
                sinks.recordingStopped(SampleSinks::StopReason::WriteFailed);
            }
        }
    } else {
        sinks.clearRecordingLabels();
        state.RecCount = 0;
    }

    if (state.ListOn && fresh) {
        state.ListCount += 1;
        sinks.addListRow(numberText(state.ListCount) + u'\t' + line);
    }
    if (state.ListCount == kMaxRecords || runChanged(state)) {
        const bool wasOn = state.ListOn;
        state.ListCount = 0;
        state.ListOn = false;
        if (wasOn)
            sinks.listEnded();
    }

    state.SampleTick = 1;
}
