#pragma once

#include <functional>

// The one switch of the main window's live poll. Every exchange other than the poll pauses it
// through a PollPause for as long as the exchange runs. Pauses nest: an exchange started inside
// another one's wait (a click during a settings read) must not give the line back to the poll
// while the outer exchange still runs, so the poll resumes only when the outermost pause ends.
class PollGate {
public:
    PollGate() = default;
    PollGate(const PollGate&) = delete;
    PollGate& operator=(const PollGate&) = delete;

    // Installed by the main window: switches its poll timer off (false) and on (true). Called
    // only on the outermost pause's start and end.
    std::function<void(bool enabled)> switchPoll;

    bool paused() const { return m_depth > 0; }

private:
    friend class PollPause;
    void enter();
    void leave();

    int m_depth = 0;
};

// Pauses the live poll for its lifetime, however the scope is left.
class PollPause {
public:
    explicit PollPause(PollGate& gate);
    ~PollPause();
    PollPause(const PollPause&) = delete;
    PollPause& operator=(const PollPause&) = delete;

private:
    PollGate& m_gate;
};
