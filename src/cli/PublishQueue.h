#pragma once

#include "cli/PublishMessages.h"

#include <deque>

// The samples not yet acknowledged by the broker, oldest first: those waiting to be sent, then
// those handed to the client library (which sends them again after a reconnect) until their
// acknowledgement comes. At most `capacity` are kept: a sample that finds the queue full pushes
// out the oldest waiting one.
class PublishQueue {
public:
    // A day of one-second samples.
    static constexpr qsizetype kCapacity = 86400;
    // Samples in flight at once: enough to keep a loopback broker busy, few enough that the
    // client library never holds more than its own window.
    static constexpr qsizetype kWindow = 16;

    explicit PublishQueue(qsizetype capacity = kCapacity, qsizetype window = kWindow);

    // Adds a sample; the sample dropped to make room for it, if one was.
    std::optional<PublishSample> push(const PublishSample& sample);

    // The oldest waiting sample while fewer than the window are in flight; null otherwise.
    const PublishSample* next() const;
    // next() was handed over under the message id `mid`.
    void handed(int mid);
    // The broker acknowledged `mid`; false when no sample of this queue went under it.
    bool acknowledged(int mid);

    qsizetype size() const { return static_cast<qsizetype>(m_entries.size()); }
    qsizetype waiting() const { return size() - m_handedOut; }
    qsizetype inFlight() const { return m_unacknowledged; }
    qint64 dropped() const { return m_dropped; }

private:
    struct Entry {
        PublishSample sample;
        int mid = 0;
        enum class State { Waiting, InFlight, Acknowledged } state = State::Waiting;
    };

    qsizetype m_capacity;
    qsizetype m_window;
    // Those handed out (some perhaps acknowledged out of turn) first, then the waiting ones.
    std::deque<Entry> m_entries;
    qsizetype m_handedOut = 0;
    qsizetype m_unacknowledged = 0;
    qint64 m_dropped = 0;
};

// Seconds before the next connection attempt: 1 after a loss, doubling up to 30 while the
// broker stays away; back to 1 once a connection is made.
class Backoff {
public:
    static constexpr double kFirst = 1;
    static constexpr double kLast = 30;

    double next();
    void reset() { m_next = kFirst; }

private:
    double m_next = kFirst;
};
