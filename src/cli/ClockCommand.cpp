#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "cli/Console.h"
#include "tools/ClockTexts.h"
#include "tools/MeterClock.h"

namespace {

// The meter clock window's two labels.
class ConsoleClockView : public ClockView {
public:
    explicit ConsoleClockView(CliSession& session)
        : m_session(session) {}
    bool closed() const override { return m_session.stopped(); }
    void setMeterTimeText(const QString& text) override { meterTime = text; }
    void setPcTimeText(const QString& text) override { pcTime = text; }

    QString meterTime;
    QString pcTime;

private:
    CliSession& m_session;
};

} // namespace

int runClock(CliSession& session, bool set) {
    if (!session.firstReading())
        return 1;
    // The clock window refuses to open while the meter logs.
    if (session.state.MeterRec) {
        session.dialogs.message(kMeterLogging, {}, Dialogs::Icon::Critical);
        return 1;
    }
    ConsoleClockView view(session);
    MeterClock clock(session.context, view);
    if (set) {
        clock.setMeterTime();
        if (!session.dialogs.errors().isEmpty() || session.stopped())
            return 1;
    }
    clock.toggleMeterTime();
    clock.togglePcTime();
    clock.tick();
    clock.release();
    if (!session.dialogs.errors().isEmpty() || session.stopped() ||
        view.meterTime == kMeterTimeCaption)
        return 1;
    session.console.line(kMeterTimeCaption + u'\t' + view.meterTime);
    session.console.line(kPcTimeCaption + u'\t' + view.pcTime);
    return 0;
}
