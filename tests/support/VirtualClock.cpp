#include "support/VirtualClock.h"

#include <QScopedValueRollback>
#include <algorithm>
#include <limits>

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

bool VirtualClock::sooner(const Scheduled& a, const Scheduled& b) {
    return a.due < b.due || (a.due == b.due && a.order < b.order);
}

void VirtualClock::after(double seconds, QObject* context, std::function<void()> then) {
    m_scheduled.push_back(
        {m_now + std::max(seconds, 0.0), m_order++, context, context != nullptr, std::move(then)});
    if (m_running)
        return;
    QScopedValueRollback running(m_running, true);
    while (!m_stopping && !m_scheduled.empty()) {
        const Scheduled& earliest =
            *std::min_element(m_scheduled.begin(), m_scheduled.end(), sooner);
        const quint64 order = earliest.order;
        // What runs during the wait (a dialog held open through run()) may fire it first.
        WaitSeconds(std::max(earliest.due - m_now, 0.0));
        const auto it = std::find_if(m_scheduled.begin(), m_scheduled.end(),
                                     [order](const Scheduled& s) { return s.order == order; });
        if (it == m_scheduled.end())
            continue;
        Scheduled next = std::move(*it);
        m_scheduled.erase(it);
        fire(next);
    }
    if (m_stopping)
        m_scheduled.clear();
}

void VirtualClock::run(double seconds) {
    const double until = m_now + seconds;
    QScopedValueRollback running(m_running, true);
    Scheduled next;
    while (!m_stopping && takeDue(until, next)) {
        m_now = std::max(m_now, next.due);
        fire(next);
    }
    m_now = std::max(m_now, until);
}

bool VirtualClock::takeDue(double until, Scheduled& out) {
    const auto earliest = std::min_element(m_scheduled.begin(), m_scheduled.end(), sooner);
    if (earliest == m_scheduled.end() || earliest->due > until)
        return false;
    out = std::move(*earliest);
    m_scheduled.erase(earliest);
    return true;
}

void VirtualClock::fire(Scheduled& scheduled) {
    if (m_stopping || (scheduled.hasContext && !scheduled.context))
        return;
    scheduled.then();
}
