#pragma once

#include <functional>
#include <vector>

// A switch that several parties may hold off at once: the main window's live poll, which every
// exchange other than the poll pauses, or the program's timers, which a long plot suspends.
// Pauses nest: an exchange started inside another one's wait (a click during a settings read)
// must not give the line back to the poll while the outer exchange still runs, so what the gate
// switches resumes only when the outermost pause ends.
class PauseGate {
public:
    using Switch = std::function<void(bool running)>;

    PauseGate() = default;
    PauseGate(const PauseGate&) = delete;
    PauseGate& operator=(const PauseGate&) = delete;

    // Registers what the gate switches, under an owner that removes it again; called with false
    // when the outermost pause starts and with true when it ends.
    void addSwitch(const void* owner, Switch onSwitch);
    void removeSwitch(const void* owner);

    bool paused() const { return m_depth > 0; }

private:
    friend class ScopedPause;
    void enter();
    void leave();
    void switchAll(bool running);

    int m_depth = 0;
    std::vector<std::pair<const void*, Switch>> m_switches;
};

// Keeps a switch registered on a gate for its lifetime: whoever registers one cannot leave it
// behind when it goes.
class ScopedSwitch {
public:
    ScopedSwitch(PauseGate& gate, PauseGate::Switch onSwitch)
        : m_gate(gate) {
        m_gate.addSwitch(this, std::move(onSwitch));
    }
    ~ScopedSwitch() { m_gate.removeSwitch(this); }
    ScopedSwitch(const ScopedSwitch&) = delete;
    ScopedSwitch& operator=(const ScopedSwitch&) = delete;

private:
    PauseGate& m_gate;
};

// Holds a gate paused for its lifetime, however the scope is left.
class ScopedPause {
public:
    explicit ScopedPause(PauseGate& gate);
    ~ScopedPause();
    ScopedPause(const ScopedPause&) = delete;
    ScopedPause& operator=(const ScopedPause&) = delete;

private:
    PauseGate& m_gate;
};
