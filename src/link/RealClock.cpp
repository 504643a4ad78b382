#include "link/RealClock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cmath>

RealClock::RealClock() {
    m_elapsed.start();
}

double RealClock::monotonic() const {
    return static_cast<double>(m_elapsed.nsecsElapsed()) * 1e-9;
}

QDateTime RealClock::wallNow() const {
    return QDateTime::currentDateTime();
}

bool RealClock::WaitSeconds(double seconds) {
    const double end = monotonic() + seconds;
    while (!m_stopping) {
        const double remaining = end - monotonic();
        if (remaining <= 0)
            break;
        QEventLoop loop;
        QTimer timer;
        timer.setTimerType(Qt::PreciseTimer);
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        timer.start(static_cast<int>(std::ceil(remaining * 1000)));
        m_loops.append(&loop);
        loop.exec();
        m_loops.removeOne(&loop);
    }
    return !m_stopping;
}

void RealClock::after(double seconds, QObject* context, std::function<void()> then) {
    const int ms = static_cast<int>(std::ceil(std::max(seconds, 0.0) * 1000));
    QTimer::singleShot(ms, Qt::PreciseTimer, context, [this, then = std::move(then)] {
        if (!m_stopping)
            then();
    });
}

bool RealClock::processEvents() {
    if (!m_stopping)
        QCoreApplication::processEvents();
    return !m_stopping;
}

bool RealClock::idle() {
    // A millisecond is a byte at 9600 baud: short enough to keep pace with the line.
    return WaitSeconds(0.001);
}

void RealClock::requestStop() {
    m_stopping = true;
    for (QEventLoop* loop : std::as_const(m_loops))
        loop->quit();
}
