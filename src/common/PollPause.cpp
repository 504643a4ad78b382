#include "common/PollPause.h"

void PollGate::enter() {
    if (m_depth++ == 0 && switchPoll)
        switchPoll(false);
}

void PollGate::leave() {
    if (m_depth > 0 && --m_depth == 0 && switchPoll)
        switchPoll(true);
}

PollPause::PollPause(PollGate& gate)
    : m_gate(gate) {
    m_gate.enter();
}

PollPause::~PollPause() {
    m_gate.leave();
}
