#include "tools/MeterClock.h"

#include "common/AppContext.h"
#include "common/Dialogs.h"
#include "common/SharedState.h"
#include "link/Clock.h"
#include "tools/ClockTexts.h"

#include <QScopedValueRollback>

MeterClock::MeterClock(AppContext& context, ClockView& view)
    : m_context(context)
    , m_view(view) {
    updateWindowPause();
}

bool MeterClock::samplesRunning() const {
    return m_context.state.Recording || m_context.state.ListOn;
}

void MeterClock::updateWindowPause() {
    if (samplesRunning())
        m_windowPause.reset();
    else if (!m_windowPause)
        m_windowPause.emplace(m_context.poll);
}

void MeterClock::release() {
    m_windowPause.reset();
    m_released = true;
}

MeterExchange MeterClock::exchange() {
    // The main window lets go of the port when it closes: the exchange ends at its next wait.
    return MeterExchange(*m_context.port, m_context.clock,
                         [this] { return m_view.closed() || !m_context.port; });
}

void MeterClock::tick() {
    if (m_view.closed() || m_released)
        return;
    updateWindowPause();
    if (!samplesRunning())
        m_meterTimeRead.reset();
    const bool pollHadItsTurn = !samplesRunning() || m_context.state.FrameCount != m_framesAtRead;
    if (m_showMeterTime && m_meterTimeRead) {
        const auto& [at, readAt] = *m_meterTimeRead;
        const auto since = static_cast<qint64>((m_context.clock.monotonic() - readAt) * 1000);
        m_view.setMeterTimeText(pcClockText(at.addMSecs(since)));
    } else if (m_showMeterTime && !busy() && pollHadItsTurn) {
        readMeterTime();
    }
    if (m_view.closed())
        return;
    if (!m_showMeterTime)
        m_view.setMeterTimeText(kMeterTimeCaption);
    m_view.setPcTimeText(m_showPcTime ? pcClockText(m_context.clock.wallNow()) : kPcTimeCaption);
}

void MeterClock::readMeterTime() {
    if (!m_context.port)
        return;
    {
        QScopedValueRollback running(m_running, Running::Read);
        LinkResult<QByteArray> reply;
        {
            const ScopedPause pause(m_context.poll);
            reply = exchange().ReadClock();
        }
        m_framesAtRead = m_context.state.FrameCount;
        if (reply.status == LinkStatus::NoReply) {
            m_showMeterTime = false;
            m_setPending = false;
            m_view.setMeterTimeText(kMeterTimeCaption);
            m_context.dialogs.message(kMeterNotResponding, {}, Dialogs::Icon::Critical);
            return;
        }
        if (!reply.ok()) {
            m_setPending = false;
            return;
        }
        // The label may have been switched off while the reply was awaited.
        if (m_showMeterTime)
            m_view.setMeterTimeText(clockReplyText(reply.reply));
        const std::optional<QDateTime> at = clockReplyTime(reply.reply);
        if (m_showMeterTime && samplesRunning() && at)
            m_meterTimeRead.emplace(*at, m_context.clock.monotonic());
    }
    if (m_setPending) {
        m_setPending = false;
        setMeterTime();
    }
}

void MeterClock::setMeterTime() {
    if (!m_context.port || m_view.closed())
        return;
    if (m_running == Running::Read)
        m_setPending = true;
    if (busy())
        return;
    QScopedValueRollback running(m_running, Running::Set);
    LinkStatus status = LinkStatus::Ok;
    {
        const ScopedPause pause(m_context.poll);
        status = exchange().SetClock(m_context.clock.wallNow());
    }
    // The meter's clock has moved: the next tick reads it again.
    m_meterTimeRead.reset();
    if (status == LinkStatus::NoReply)
        m_context.dialogs.message(kMeterNotResponding, {}, Dialogs::Icon::Critical);
}
