#include "panel/MeterSession.h"

#include "common/Dialogs.h"
#include "common/RememberedState.h"
#include "common/SharedState.h"
#include "link/Clock.h"
#include "link/PortNames.h"
#include "link/SerialPort.h"
#include "panel/SamplingTick.h"

QString notFoundDetail(const ChosenPort& chosen, const QString& reason) {
    const QString device = chosen.ComPort >= 1 && chosen.ComPort <= 8
                               ? deviceForComPort(chosen.ComPort)
                               : chosen.ComDevice;
    QStringList lines;
    lines << QStringLiteral("Device: ") + (device.isEmpty() ? QStringLiteral("(none)") : device);
    lines << QStringLiteral("Reason: ") +
                 (reason.isEmpty() ? QStringLiteral("no serial port goes by that name") : reason);
    lines << QStringLiteral("Choose Demo to try luxlog without a meter.");
    return lines.join(u'\n');
}

MeterSession::MeterSession(AppContext& context, PortFactory portFactory, SampleSinks& sinks)
    : m_context(context)
    , m_portFactory(std::move(portFactory))
    , m_poll(context.state, context.clock, context.poll, context.timers)
    , m_sampling(context.state, context.clock, context.timers, sinks) {}

MeterSession::~MeterSession() {
    stop();
    release();
}

bool MeterSession::open() {
    QString error;
    m_port = m_portFactory ? m_portFactory(m_context) : nullptr;
    if (!m_port || !m_port->open(&error)) {
        const bool made = m_port != nullptr;
        m_port.reset();
        m_context.dialogs.message(QStringLiteral("No device found, try again!"),
                                  QStringLiteral("luxlog"), Dialogs::Icon::Critical,
                                  notFoundDetail(m_context.state, made ? error : QString()));
        return false;
    }
    m_portHook.emplace(m_context.port, m_port.get());
    startSampling(m_context.state, m_context.clock.wallNow(), m_context.clock.monotonic());
    recallStartValues(m_context.state, m_context.settings);
    m_sampling.start();
    m_poll.start(*m_port);
    return true;
}

void MeterSession::stop() {
    m_poll.stop();
    m_sampling.stop();
}

void MeterSession::release() {
    m_portHook.reset();
    if (m_port)
        m_port->close();
}
