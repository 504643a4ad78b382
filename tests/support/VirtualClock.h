#pragma once

#include "link/Clock.h"

#include <QPointer>
#include <QStringList>
#include <functional>
#include <vector>

// Virtual time for tests: waits advance time at once, nothing sleeps.
class VirtualClock : public Clock {
public:
    explicit VirtualClock(QDateTime wallStart = QDateTime(QDate(2010, 6, 22), QTime(14, 5, 9)));

    double monotonic() const override { return m_now; }
    QDateTime wallNow() const override;
    bool WaitSeconds(double seconds) override;
    // Called outside any other call of it, runs at once through every callback it and its
    // callbacks schedule, in the order of their times, each after a WaitSeconds to its time (so
    // traces and duringWait see the same waits as a blocking wait would give). Called from such
    // a callback, or from inside run(), it only schedules.
    void after(double seconds, QObject* context, std::function<void()> then) override;
    bool processEvents() override;
    bool stopping() const override { return m_stopping; }

    void advance(double seconds);
    // Moves time on by `seconds`, running the scheduled callbacks that come due meanwhile at
    // their times: what an event loop does while a modal dialog is open.
    void run(double seconds);
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
    struct Scheduled {
        double due;
        quint64 order;
        QPointer<QObject> context;
        bool hasContext;
        std::function<void()> then;
    };
    static bool sooner(const Scheduled& a, const Scheduled& b);
    // Takes the earliest callback due by `until`, if any.
    bool takeDue(double until, Scheduled& out);
    void fire(Scheduled& scheduled);

    std::vector<Scheduled> m_scheduled;
    quint64 m_order = 0;
    bool m_running = false;
    double m_now = 1000.0;
    QDateTime m_wallStart;
    bool m_stopping = false;
    bool m_inHook = false;
};
