#include "cli/PublishQueue.h"

#include <algorithm>

PublishQueue::PublishQueue(qsizetype capacity, qsizetype window)
    : m_capacity(std::max<qsizetype>(1, capacity))
    , m_window(std::max<qsizetype>(1, window)) {}

std::optional<PublishSample> PublishQueue::push(const PublishSample& sample) {
    std::optional<PublishSample> dropped;
    if (size() >= m_capacity) {
        ++m_dropped;
        // Everything kept is in flight: the library delivers those, the newest gives way.
        if (waiting() == 0)
            return sample;
        const auto oldest = m_entries.begin() + m_handedOut;
        dropped = oldest->sample;
        m_entries.erase(oldest);
    }
    m_entries.push_back(Entry{sample, 0, Entry::State::Waiting});
    return dropped;
}

const PublishSample* PublishQueue::next() const {
    if (m_unacknowledged >= m_window || waiting() == 0)
        return nullptr;
    return &m_entries[static_cast<std::size_t>(m_handedOut)].sample;
}

void PublishQueue::handed(int mid) {
    if (waiting() == 0)
        return;
    Entry& entry = m_entries[static_cast<std::size_t>(m_handedOut)];
    entry.mid = mid;
    entry.state = Entry::State::InFlight;
    ++m_handedOut;
    ++m_unacknowledged;
}

bool PublishQueue::acknowledged(int mid) {
    const auto handedEnd = m_entries.begin() + m_handedOut;
    const auto entry = std::find_if(m_entries.begin(), handedEnd, [mid](const Entry& e) {
        return e.state == Entry::State::InFlight && e.mid == mid;
    });
    if (entry == handedEnd)
        return false;
    entry->state = Entry::State::Acknowledged;
    --m_unacknowledged;
    while (!m_entries.empty() && m_entries.front().state == Entry::State::Acknowledged) {
        m_entries.pop_front();
        --m_handedOut;
    }
    return true;
}

double Backoff::next() {
    const double wait = m_next;
    m_next = std::min(m_next * 2, kLast);
    return wait;
}
