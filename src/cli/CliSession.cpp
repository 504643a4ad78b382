#include "cli/CliSession.h"

#include "cli/Console.h"
#include "link/MeterExchange.h"
#include "link/PortNames.h"
#include "link/SerialPort.h"
#include "panel/PortOpener.h"

#include <algorithm>

CliSession::CliSession(Console& console)
    : console(console)
    , dialogs(console)
    , context(state, clock, dialogs, m_printer) {}

CliSession::~CliSession() {
    context.port = nullptr;
    if (port)
        port->close();
}

bool CliSession::openPort(const QString& name) {
    const std::optional<PortChoice> choice = portChoiceFromText(name, stablePorts());
    if (!choice) {
        console.message(QStringLiteral("\"%1\" names no port: give COM1 to COM8, Auto, a device "
                                       "path or Demo (see \"%2 ports\")")
                            .arg(name, kProgramName));
        return false;
    }
    state.ComPort = choice->comPort;
    state.ComDevice = choice->device;
    port = openerForChoice(state, clock);
    const QString device = state.ComPort > 0 ? deviceForComPort(state.ComPort) : state.ComDevice;
    QString error;
    if (!port || !port->open(&error)) {
        port.reset();
        console.message(error.isEmpty()
                            ? QStringLiteral("No device found at %1, try again!").arg(device)
                            : QStringLiteral("cannot open %1: %2").arg(device, error));
        return false;
    }
    context.port = port.get();
    poll = std::make_unique<PollCycle>(state, *port, clock);
    poll->setPortLabel = [this](const QString& label) { linkLabel(label); };
    return true;
}

void CliSession::reportLink(const QString& lostNote) {
    m_reportLink = true;
    m_lostNote = lostNote;
}

void CliSession::linkLabel(const QString& label) {
    if (!m_reportLink)
        return;
    if (label == QStringLiteral("No COM")) {
        m_linkLost = true;
        console.message(QStringLiteral("the meter does not answer (No COM)") + m_lostNote);
    } else if (label == PollCycle::kGarbledLabel) {
        m_linkLost = true;
        console.message(QStringLiteral("the meter's answers are garbled (Bad data)") + m_lostNote);
    } else if (m_linkLost) {
        m_linkLost = false;
        console.message(QStringLiteral("the meter answers again"));
    }
}

bool CliSession::firstReading() {
    const double giveUpAt = clock.monotonic() + MeterExchange::kGiveUpSeconds;
    poll->yielded = [this, giveUpAt] { return clock.monotonic() >= giveUpAt; };
    PollCycle::Outcome outcome = PollCycle::Outcome::NoData;
    while (!stopped() && clock.monotonic() < giveUpAt) {
        outcome = poll->poll();
        if (outcome == PollCycle::Outcome::Decoded || outcome == PollCycle::Outcome::Stopped)
            break;
    }
    poll->yielded = nullptr;
    if (outcome == PollCycle::Outcome::Decoded)
        return true;
    if (!stopped())
        dialogs.message(kMeterNotResponding, {}, Dialogs::Icon::Critical);
    return false;
}

void CliSession::stop() {
    clock.requestStop();
}

SessionDeadline::SessionDeadline(CliSession& session, std::optional<qint64> seconds)
    : m_session(session)
    , m_seconds(seconds)
    , m_endAt(session.clock.monotonic() + static_cast<double>(seconds.value_or(0))) {
    m_timer.setSingleShot(true);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { arm(); });
    if (m_seconds)
        arm();
}

void SessionDeadline::arm() {
    const double left = m_endAt - m_session.clock.monotonic();
    if (left <= 0)
        m_session.stop();
    else
        m_timer.start(static_cast<int>(std::min(left * 1000.0 + 1, double(1 << 30))));
}
