#include "support/VirtualClock.h"

VirtualClock::VirtualClock(QDateTime wallStart)
    : m_wallStart(std::move(wallStart)) {}

QDateTime VirtualClock::wallNow() const {
    return m_wallStart.addMSecs(static_cast<qint64>((m_now - 1000.0) * 1000.0));
}

bool VirtualClock::WaitSeconds(double seconds) {
    ++waitCount;
    if (trace)
        trace->append(QStringLiteral("wait %1").arg(seconds));
    if (duringWait && !m_inHook) {
        m_inHook = true;
        duringWait();
        m_inHook = false;
    }
    advance(seconds);
    return !m_stopping;
}

bool VirtualClock::processEvents() {
    if (duringWait && !m_inHook) {
        m_inHook = true;
        duringWait();
        m_inHook = false;
    }
    advance(eventPassSeconds);
    return !m_stopping;
}

void VirtualClock::advance(double seconds) {
    m_now += seconds;
}
