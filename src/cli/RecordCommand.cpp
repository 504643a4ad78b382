#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "cli/Console.h"
#include "common/Dialogs.h"
#include "common/SharedState.h"
#include "panel/PcRecorder.h"
#include "panel/SamplingTick.h"
#include "panel/SamplingTimer.h"

#include <QFileInfo>
#include <QTimer>
#include <algorithm>

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
    void showRecordCount(const QString& count) override {
        m_console.progress(
            m_fileName + QStringLiteral(": ") + count +
            (count == u"1" ? QStringLiteral(" record") : QStringLiteral(" records")));
    }
    void clearRecordingLabels() override {}
    void showRecordingEnded(const QString& reason, bool failed) override {
        if (failed)
            m_session.dialogs.message(reason, {}, Dialogs::Icon::Critical);
        else
            endReason = reason;
    }

    QString endReason;

private:
    CliSession& m_session;
    Console& m_console;
    QString m_fileName;
};

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

    // Timers take an int of milliseconds: a long run is waited for in pieces.
    QTimer deadline;
    deadline.setSingleShot(true);
    const double endAt = clock.monotonic() + static_cast<double>(request.forSeconds.value_or(0));
    const auto armDeadline = [&] {
        const double left = endAt - clock.monotonic();
        if (left <= 0)
            session.stop();
        else
            deadline.start(static_cast<int>(std::min(left * 1000.0 + 1, double(1 << 30))));
    };
    QObject::connect(&deadline, &QTimer::timeout, armDeadline);
    if (request.forSeconds)
        armDeadline();

    session.reportLink(QStringLiteral("; recording goes on when it answers"));
    bool started = false;
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
        }
        if (started && !state.Recording)
            break;
    }
    timer2.stop();
    deadline.stop();

    const bool endedOnItsOwn = started && !state.Recording;
    if (state.Recording)
        recorder.stop();
    session.console.endProgress();
    if (!session.dialogs.errors().isEmpty())
        return 1;
    if (!started) {
        if (!session.stopped())
            return 1;
        // Ctrl-C before the first reading leaves nothing to record and nothing wrong.
        if (request.forSeconds && clock.monotonic() >= endAt) {
            session.console.message(
                QStringLiteral("nothing recorded: no reading came from the meter in the time "
                               "given"));
            return 1;
        }
        return 0;
    }
    if (endedOnItsOwn && !view.endReason.isEmpty())
        session.console.message(view.endReason);
    return 0;
}
