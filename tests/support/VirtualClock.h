#pragma once

#include "link/Clock.h"

#include <QStringList>
#include <functional>

// Virtual time for tests: waits advance time at once, nothing sleeps.
class VirtualClock : public Clock {
public:
    explicit VirtualClock(QDateTime wallStart = QDateTime(QDate(2010, 6, 22), QTime(14, 5, 9)));

    double monotonic() const override { return m_now; }
    QDateTime wallNow() const override;
    bool WaitSeconds(double seconds) override;
    bool processEvents() override;
    bool stopping() const override { return m_stopping; }

    void advance(double seconds);
    void requestStop() { m_stopping = true; }

    // Runs inside every wait, once, before time moves on: stands for the other handlers that
    // a real wait lets run (ticks of other windows, clicks).
    std::function<void()> duringWait;
    // Virtual time one pass of processEvents() takes, so that loops without waits still move on.
    double eventPassSeconds = 0.001;
    // Shared with ScriptedPort: "wait 0.2" entries.
    QStringList* trace = nullptr;
    int waitCount = 0;

private:
    double m_now = 1000.0;
    QDateTime m_wallStart;
    bool m_stopping = false;
    bool m_inHook = false;
};
