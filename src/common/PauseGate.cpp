#include "common/PauseGate.h"

#include <algorithm>

void PauseGate::addSwitch(const void* owner, Switch onSwitch) {
    m_switches.emplace_back(owner, std::move(onSwitch));
}

void PauseGate::removeSwitch(const void* owner) {
    std::erase_if(m_switches, [owner](const auto& entry) { return entry.first == owner; });
}

void PauseGate::switchAll(bool running) {
    // A switch may add or remove switches (a window closing): work on a copy.
    const auto switches = m_switches;
    for (const auto& [owner, onSwitch] : switches) {
        if (onSwitch)
            onSwitch(running);
    }
}

void PauseGate::enter() {
    if (m_depth++ == 0)
        switchAll(false);
}

void PauseGate::leave() {
    if (m_depth > 0 && --m_depth == 0)
        switchAll(true);
}

ScopedPause::ScopedPause(PauseGate& gate)
    : m_gate(gate) {
    m_gate.enter();
}

ScopedPause::~ScopedPause() {
    m_gate.leave();
}
