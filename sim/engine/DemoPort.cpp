#include "sim/engine/DemoPort.h"

#include "link/Clock.h"
#include "sim/engine/MeterEngine.h"

#include <QCoreApplication>
#include <algorithm>

DemoPort::DemoPort(MeterEngine& engine, Clock& clock)
    : m_engine(engine)
    , m_clock(clock) {}

bool DemoPort::open(QString* error) {
    if (m_engine.unplugged()) {
        if (error)
            *error = QCoreApplication::translate("DemoPort", "The demo meter is unplugged.");
        return false;
    }
    m_open = true;
    return true;
}

void DemoPort::output(const QByteArray& bytes) {
    if (m_open)
        m_engine.receive(bytes, m_clock.monotonic());
}

int DemoPort::inBufferCount() {
    // Read as a 16-bit count by the link, like a real port's.
    return m_open ? std::min(m_engine.available(m_clock.monotonic()), 32767) : 0;
}

void DemoPort::discardInput() {
    if (m_open)
        m_engine.discard(m_clock.monotonic());
}

QByteArray DemoPort::input() {
    return m_open ? m_engine.take(m_clock.monotonic()) : QByteArray();
}
