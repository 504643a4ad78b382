#include "panel/SamplingTick.h"

#include "common/CalendarTime.h"
#include "common/NumberText.h"
#include "common/SharedState.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>

namespace {

bool runChanged(const SharedState& state) {
    return state.Range != state.RefRange || state.Unit != state.RefUnit;
}

} // namespace

QString runEndedText(const SharedState& state, const QString& run) {
    if (runChanged(state))
        return QStringLiteral("%1 ended: the meter changed from %2 %3 to %4 %5")
            .arg(run, rangeText(state.RefRange), state.RefUnit, rangeText(state.Range), state.Unit);
    return QStringLiteral("%1 ended after %2 records").arg(run).arg(static_cast<int>(kMaxRecords));
}

QString sampleLine(const QString& recordTime, const QString& displayedValue, bool batteryLow) {
    return shownFromHeld(recordTime) + u'\t' + displayedValue + u'\t' +
           (batteryLow ? QStringLiteral("Low") : QString());
}

void startSampling(SharedState& state, const QDateTime& wallNow, double monotonicNow) {
    state.loadPanel(wallNow);
    // RecordTime drops the milliseconds: its moment lies that much before now.
    state.RecordClock = monotonicNow - wallNow.time().msec() / 1000.0;
}

namespace {

// Rounding in the clock's sums must not hold a sample back by a whole sampling time.
constexpr double kSlack = 1e-6;

qint64 samplingStep(const SharedState& state) {
    return std::max<qint64>(1, std::llround(state.SamplingTime));
}

} // namespace

int samplingTickDelayMs(const SharedState& state, double monotonicNow) {
    const double left = state.RecordClock + static_cast<double>(samplingStep(state)) - monotonicNow;
    return static_cast<int>(std::clamp(std::ceil(left * 1000.0), 1.0, double(kSamplingTickMs)));
}

void samplingTick(SharedState& state, SampleSinks& sinks, double monotonicNow) {
    const qint64 step = samplingStep(state);
    const double passed = monotonicNow - state.RecordClock + kSlack;
    if (passed < static_cast<double>(step))
        return;
    const qint64 steps = static_cast<qint64>(std::floor(passed / static_cast<double>(step)));

    // Time stamps are the start plus multiples of the sampling time, taken from the calendar.
    const std::optional<QString> next = addSeconds(state.RecordTime, step * steps);
    if (!next)
        return;
    state.RecordTime = *next;
    state.RecordClock += static_cast<double>(step * steps);

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
