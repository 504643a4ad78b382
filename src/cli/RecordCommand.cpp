#include "cli/CliSession.h"
#include "cli/CliValues.h"
#include "cli/Commands.h"
#include "cli/Console.h"
#include "common/CalendarTime.h"
#include "common/Dialogs.h"
#include "common/SharedState.h"
#include "panel/PcRecorder.h"
#include "panel/SamplingTick.h"
#include "panel/SamplingTimer.h"

#include <QFileInfo>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace {

// What the main window's labels show of PC recording, on the progress line. A recording that
// ends ends the program, also while the poll waits for a silent meter.
class ConsoleRecordingView : public RecordingView {
public:
    explicit ConsoleRecordingView(CliSession& session)
        : m_session(session)
        , m_console(session.console) {}

    void showRecording(const QString& fileName) override {
        m_fileName = fileName;
        m_console.progress(fileName + QStringLiteral(": recording"));
    }
    void showNotRecording() override { m_session.stop(); }
    void showRecordCount(const QString&) override {}
    void clearRecordingLabels() override {}
    void showRecordingEnded(const QString& reason, bool failed) override {
        if (failed)
            m_session.dialogs.message(reason, {}, Dialogs::Icon::Critical);
        else
            endReason = reason;
    }

    QString endReason;
    const QString& fileName() const { return m_fileName; }

private:
    CliSession& m_session;
    Console& m_console;
    QString m_fileName;
};

// What the status line and the summary tell of a recording.
struct RecordingTally {
    qint64 records = 0;
    qint64 leftOut = 0;
    QString first; // time stamps as the file holds them
    QString last;
    double startedClock = 0;

    // After a tick: records written, samples that fell due and were left out.
    void follow(const SharedState& state) {
        const auto written = static_cast<qint64>(state.RecCount);
        if (written > records) {
            if (first.isEmpty())
                first = shownFromHeld(state.RecordTime);
            last = shownFromHeld(state.RecordTime);
            records = written;
        }
        const double step = std::max<double>(1, std::round(state.SamplingTime));
        const auto due =
            static_cast<qint64>(std::llround((state.RecordClock - startedClock) / step));
        leftOut = std::max<qint64>(leftOut, due - records);
    }
};

QString recordsText(qint64 n) {
    return QString::number(n) + (n == 1 ? QStringLiteral(" record") : QStringLiteral(" records"));
}

} // namespace

int runRecord(CliSession& session, const RecordRequest& request) {
    SharedState& state = session.state;
    Clock& clock = session.clock;
    // Sample k is taken when the PC clock reaches its stamp, start + k × the sampling time.
    startSampling(state, clock.wallNow(), clock.monotonic());
    state.SamplingTime = static_cast<float>(request.samplingSeconds);
    state.SampleTick = 0;

    ConsoleRecordingView view(session);
    PcRecorder recorder(session.context, view);
    SamplingTimer timer2(state, clock, session.context.timers, recorder);
    timer2.start();

    SessionDeadline deadline(session, request.forSeconds);

    session.console.stampMessages(true);
    session.reportLink(QStringLiteral("; recording goes on when it answers"));
    bool started = false;
    RecordingTally tally;
    const double startedAt = clock.monotonic();
    double shownAt = -1;
    while (!session.stopped()) {
        const PollCycle::Outcome outcome = session.poll->poll();
        if (outcome == PollCycle::Outcome::Stopped)
            break;
        if (!started && outcome == PollCycle::Outcome::Decoded) {
            // The header takes the unit and range of a reading, so "Save" waits for the first.
            session.dialogs.answerSaveWith(request.path);
            recorder.saveCommand();
            if (!state.Recording)
                break;
            started = true;
            tally.startedClock = state.RecordClock;
        }
        if (started && !state.Recording)
            break;
        if (started) {
            tally.follow(state);
            // The status line on a terminal, about once a second.
            if (clock.monotonic() - shownAt >= 1) {
                shownAt = clock.monotonic();
                session.console.progress(QStringLiteral("%1: %2, %3 left out, last %4 %5, %6")
                                             .arg(view.fileName(), recordsText(tally.records))
                                             .arg(tally.leftOut)
                                             .arg(state.Value.text(), state.Unit,
                                                  elapsedText(clock.monotonic() - startedAt)));
            }
        }
    }
    timer2.stop();
    deadline.stop();

    const bool endedOnItsOwn = started && !state.Recording;
    if (started)
        tally.follow(state);
    if (state.Recording)
        recorder.stop();
    session.console.endProgress();
    if (started) {
        // One summary line, whatever ended it.
        QString why;
        if (!session.dialogs.errors().isEmpty())
            why = QStringLiteral("it failed");
        else if (endedOnItsOwn)
            why = view.endReason.isEmpty() ? QStringLiteral("it ended") : view.endReason;
        else if (deadline.reached())
            why = QStringLiteral("--for ran out");
        else
            why = QStringLiteral("stopped");
        session.console.message(
            QStringLiteral("%1: %2, %3 left out%4; %5")
                .arg(view.fileName(), recordsText(tally.records))
                .arg(tally.leftOut)
                .arg(tally.records > 0 ? QStringLiteral(", %1 to %2").arg(tally.first, tally.last)
                                       : QString(),
                     why));
    }
    if (!session.dialogs.errors().isEmpty())
        return 1;
    if (!started) {
        if (!session.stopped())
            return 1;
        // Ctrl-C before the first reading leaves nothing to record and nothing wrong.
        if (deadline.reached()) {
            session.console.message(
                QStringLiteral("nothing recorded: no reading came from the meter in the time "
                               "given"));
            return 1;
        }
        return 0;
    }
    return 0;
}
