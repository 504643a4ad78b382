#pragma once

#include "link/Clock.h"

#include <QElapsedTimer>
#include <QList>

class QEventLoop;

// The program's clock: waits run a local event loop until a deadline on a monotonic clock, so
// an idle program polling the meter sleeps instead of spinning.
class RealClock : public Clock {
public:
    RealClock();

    double monotonic() const override;
    QDateTime wallNow() const override;
    bool WaitSeconds(double seconds) override;
    void after(double seconds, QObject* context, std::function<void()> then) override;
    bool processEvents() override;
    bool idle() override;
    bool stopping() const override { return m_stopping; }

    // Ends every wait in progress and makes later ones return false at once.
    void requestStop();

private:
    QElapsedTimer m_elapsed;
    bool m_stopping = false;
    QList<QEventLoop*> m_loops;
};
